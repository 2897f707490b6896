#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "framework/object/zel_unknown_impl.h"
#include "framework/threads/zel_thread_class.h"
#include "platform/event.h"
#include "support/module_fixture.h"

namespace {

using platform::Event;

class CountingThread : public ZelThreadClass {
 public:
  void run() override { ++runs; }
  std::atomic<int> runs{0};
};

// Its run waits for gates owned by the test, so it touches nothing of itself once started.
class GatedThread : public ZelThreadClass {
 public:
  GatedThread(Event& entered, Event& gate) : entered_(&entered), gate_(&gate) {}
  void run() override {
    Event* gate = gate_;
    entered_->set();
    EXPECT_TRUE(gate->waitFor(5000)) << "the gate never opened";
  }

 private:
  Event* entered_;
  Event* gate_;
};

class SelfWaitingThread : public ZelThreadClass {
 public:
  void run() override { wait(); }
};

// Signals once every part before it in destruction order is gone; as the first base, only the shared virtual
// base outlives it.
class DestructionSignal {
 public:
  explicit DestructionSignal(Event& destroyed) : destroyed_(&destroyed) {}
  ~DestructionSignal() { destroyed_->set(); }

 private:
  Event* destroyed_;
};

// A counted thread object whose run drops the last reference, as a worker that outlives its owner does.
class SelfReleasingThread : public DestructionSignal, public ZelThreadClass, public ZelUnknownImpl {
 public:
  using DestructionSignal::DestructionSignal;
  void run() override { release(); }
  void queryInterface(const char*, void** out, bool) override { *out = nullptr; }
  const char* className() override { return "SelfReleasingThread"; }
};

// Waits, as a hang guard only, until the host has recorded the given number of assertions; false when they
// did not come within 5 s.
bool assertionsReported(StandinHost& host, size_t count) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (host.core().assertions().reports().size() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

using ZelThreadClassThreads = ModuleTest;

TEST_F(ZelThreadClassThreads, AThreadThatRanOnceIsWaitedForAndNoLongerRunning) {
  CountingThread thread;
  EXPECT_FALSE(thread.running());
  ASSERT_TRUE(thread.start());
  EXPECT_TRUE(thread.running());
  thread.wait();
  EXPECT_FALSE(thread.running());
  thread.wait();
  EXPECT_EQ(thread.runs, 1) << "waiting again on a finished thread returns at once";
  ASSERT_TRUE(thread.start());
  thread.wait();
  EXPECT_EQ(thread.runs, 2);
  { CountingThread neverStarted; }
  EXPECT_TRUE(host_.core().assertions().reports().empty());
}

TEST_F(ZelThreadClassThreads, StartingOrDestroyingWhileTheThreadRunsIsReportedAndTheThreadJoinedNeverKilled) {
  Event entered(Event::Reset::kManual), gate(Event::Reset::kManual);
  std::thread opener([&] {
    EXPECT_TRUE(assertionsReported(host_, 2));
    gate.set();
  });
  {
    GatedThread thread(entered, gate);
    EXPECT_TRUE(thread.start());
    EXPECT_TRUE(entered.waitFor(5000));
    EXPECT_FALSE(thread.start()) << "it still runs";
  }
  opener.join();
  ASSERT_EQ(host_.core().assertions().reports().size(), 2u);
  EXPECT_EQ(host_.core().assertions().reports()[1].expression, "!running || finished");
}

TEST_F(ZelThreadClassThreads, AThreadThatReleasesItsLastReferenceFromRunEndsCleanly) {
  Event destroyed(Event::Reset::kManual);
  auto* thread = new SelfReleasingThread(destroyed);
  thread->addRef();
  ASSERT_TRUE(thread->start());
  ASSERT_TRUE(destroyed.waitFor(5000)) << "the thread never destroyed its object";
  ASSERT_EQ(host_.core().assertions().reports().size(), 1u);
  EXPECT_EQ(host_.core().assertions().reports()[0].expression, "!running || finished");
}

TEST_F(ZelThreadClassThreads, AThreadWaitingForItselfIsReportedInsteadOfDeadlocking) {
  SelfWaitingThread thread;
  ASSERT_TRUE(thread.start());
  ASSERT_TRUE(assertionsReported(host_, 1));
  thread.wait();
  EXPECT_EQ(host_.core().assertions().reports()[0].expression, "wait from another thread");
}

}  // namespace
