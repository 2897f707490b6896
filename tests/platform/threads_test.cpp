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
  Event event(Event::Reset::kAuto), woke(Event::Reset::kAuto);
  std::atomic<int> released{0};
  auto waiter = [&] {
    if (event.waitFor(5000)) ++released;
    woke.set();
  };
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i) waiters.emplace_back(waiter);
  // Sets that come before a waiter wakes are one signal, so each set waits for its waiter.
  for (int i = 1; i <= 3; ++i) {
    event.set();
    EXPECT_TRUE(woke.waitFor(5000));
    EXPECT_EQ(released, i) << "one waiter per set";
    EXPECT_FALSE(event.waitFor(1)) << "the waiter took the signal with it";
  }
  for (std::thread& waiter : waiters) waiter.join();
}

TEST(PlatformEventThreads, AManualResetEventStaysSetUntilReset) {
  Event event(Event::Reset::kManual);
  event.set();
  event.wait();  // set: returns at once
  EXPECT_TRUE(event.waitFor(0));
  event.reset();
  EXPECT_FALSE(event.waitFor(1));
  EXPECT_TRUE(Event(Event::Reset::kAuto, true).waitFor(0));
}

TEST(PlatformEventThreads, AWaiterMayDestroyTheEventAsSoonAsItWakes) {
  auto event = std::make_unique<Event>(Event::Reset::kAuto);
  std::thread setter([raw = event.get()] { raw->set(); });
  EXPECT_TRUE(event->waitFor(5000));
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
