#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "platform/event.h"
#include "platform/thread.h"

namespace {

using platform::Event;

TEST(PlatformEventThreads, AnAutoResetEventReleasesOneWaiterPerSet) {
  Event event(Event::Reset::kAuto);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.emplace_back([&] {
      event.wait();
      ++released;
    });
  }
  // Sets that come before a waiter wakes are one signal, so each set waits for its waiter.
  for (int i = 1; i <= 3; ++i) {
    event.set();
    while (released < i) std::this_thread::yield();
    EXPECT_FALSE(event.waitFor(1)) << "the waiter took the signal with it";
    EXPECT_EQ(released, i) << "one waiter per set";
  }
  for (std::thread& waiter : waiters) waiter.join();
}

TEST(PlatformEventThreads, AManualResetEventStaysSetUntilReset) {
  Event event(Event::Reset::kManual);
  std::thread setter([&] { event.set(); });
  event.wait();
  setter.join();
  EXPECT_TRUE(event.waitFor(0));
  EXPECT_TRUE(event.waitFor(0));
  event.reset();
  EXPECT_FALSE(event.waitFor(1));
  EXPECT_TRUE(Event(Event::Reset::kAuto, true).waitFor(0));
}

TEST(PlatformEventThreads, AWaiterMayDestroyTheEventAsSoonAsItWakes) {
  auto event = std::make_unique<Event>(Event::Reset::kAuto);
  std::thread setter([raw = event.get()] { raw->set(); });
  event->wait();
  event.reset();
  setter.join();
}

TEST(PlatformThreadThreads, AThreadWhoseBodyDestroysItsOwnObjectDetachesAndEnds) {
  Event destroyed(Event::Reset::kManual);
  auto* thread = new platform::Thread;
  ASSERT_TRUE(thread->start([&destroyed, thread] {
    delete thread;
    destroyed.set();
  }));
  EXPECT_TRUE(destroyed.waitFor(5000));
}

}  // namespace
