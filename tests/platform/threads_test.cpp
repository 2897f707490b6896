#include <gtest/gtest.h>

#include <atomic>
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

TEST(PlatformThreadThreads, RunsTheBodyOnceAndIsJoinedOnDestruction) {
  std::atomic<int> runs{0};
  {
    platform::Thread thread;
    EXPECT_FALSE(thread.held());
    ASSERT_TRUE(thread.start([&] { ++runs; }));
    EXPECT_TRUE(thread.held());
    EXPECT_FALSE(thread.start([&] { ++runs; })) << "one thread at a time";
    thread.join();
    EXPECT_TRUE(thread.finished());
    EXPECT_FALSE(thread.held());
  }
  EXPECT_EQ(runs, 1);
}

TEST(PlatformThreadThreads, JoiningFromTheThreadItselfReturns) {
  platform::Thread thread;
  Event done(Event::Reset::kManual);
  ASSERT_TRUE(thread.start([&] {
    thread.join();
    done.set();
  }));
  EXPECT_TRUE(done.waitFor(10000));
}

}  // namespace
