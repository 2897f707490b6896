#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "framework/object/iptr.h"
#include "host_api/main_application.h"
#include "support/module_fixture.h"
#include "support/recording_receiver.h"

namespace {

constexpr const char* kMoved = "Palpera/Events/Continuous/MovedEvent";

// What a device posts: a record named after the thread that posted it and its place among that thread's
// posts.
class Stamp : public ZelUnknownImpl {
 public:
  Stamp(int thread, int sequence) : name_(std::to_string(thread) + " " + std::to_string(sequence)) {}
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Stamp", this, this).end();
  }
  const char* className() override { return name_.c_str(); }

 private:
  const std::string name_;
};

// Notes each delivered record by its name ("object <key> <name>"), and whether one came off the main thread.
class StampReceiver : public RecordingReceiver {
 public:
  bool onDataEvent(const char* key, IZelUnknown* data) override {
    if (std::this_thread::get_id() != mainThread_) offMainThread = true;
    bool heard = onObjectChanged(key, data);
    if (onDelivery) onDelivery();
    return heard;
  }
  std::atomic<bool> offMainThread{false};
  std::function<void()> onDelivery;  // called on the main thread after each delivery

 private:
  const std::thread::id mainThread_ = std::this_thread::get_id();
};

std::string delivered(int thread, int sequence) {
  return std::string("object ") + kMoved + " " + std::to_string(thread) + " " + std::to_string(sequence);
}

// Posts as a device's worker does: a fresh event from the host, named, carrying a new record.
void postStamp(const char* name, int thread, int sequence) {
  IPtr<IZelDataEvent> event;
  event.getService();
  ASSERT_TRUE(event);
  event->setName(name);
  IPtr<Stamp> stamp(new Stamp(thread, sequence));
  event->setData(stamp.get());
  SPtr<IMainApplication> application;
  ASSERT_TRUE(application);
  ASSERT_TRUE(application->post(event.get()));
}

class MainLoop : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    store_.getService();
    for (const char* group : {"Palpera", "Palpera/Events", "Palpera/Events/Continuous"})
      store_->addGroup(group);
    store_->addEvent(kMoved, nullptr);
    store_->addListener(kMoved, moves_.get());
  }

  HostMainLoop& loop() { return host_.core().mainLoop(); }

  IPtr<IDataStore> store_;
  IPtr<StampReceiver> moves_{new StampReceiver};
};

TEST_F(MainLoop, PumpingFromInsideADeliveryKeepsTheOrderOfPosting) {
  for (int sequence = 1; sequence <= 3; ++sequence) postStamp(kMoved, 0, sequence);
  bool pumped = false;
  moves_->setDuringCall([&] {
    if (std::exchange(pumped, true)) return;
    postStamp(kMoved, 0, 4);
    SPtr<IEventService>()->processEvents(false);  // as a wait loop inside a receiver does
  });
  loop().runPending();
  EXPECT_EQ(moves_->heard(),
            (std::vector<std::string>{delivered(0, 1), delivered(0, 2), delivered(0, 3), delivered(0, 4)}));
}

TEST_F(MainLoop, WhatReceiversPostWaitsForTheNextPumpUnlessTheLoopRunsUntilIdle) {
  int reposts = 2;
  moves_->setDuringCall([&] {
    if (reposts-- > 0) postStamp(kMoved, 0, 0);
  });
  postStamp(kMoved, 0, 0);
  SPtr<IEventService>()->processEvents(false);
  EXPECT_EQ(moves_->heard().size(), 1u) << "a receiver that always reposts must not hang the pump";
  SPtr<IEventService>()->processEvents(true);
  EXPECT_EQ(moves_->heard().size(), 3u);
  EXPECT_EQ(loop().pendingCount(), 0u);
}

using MainLoopThreads = MainLoop;

TEST_F(MainLoopThreads, PostsFromSeveralThreadsAreDeliveredOnceEachInPostOrderPerThreadOnTheMainThread) {
  constexpr int kThreads = 4, kPosts = 200;
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([t] {
      for (int s = 0; s < kPosts; ++s) postStamp(kMoved, t, s);
    });
  }
  // Pump while the workers post, as the host's main thread does.
  auto allDelivered = [&] { return moves_->heard().size() >= size_t{kThreads * kPosts}; };
  EXPECT_TRUE(loop().runUntil(allDelivered, std::chrono::seconds(30)));
  for (std::thread& worker : workers) worker.join();
  loop().runPending();

  std::vector<int> next(kThreads, 0);
  for (const std::string& line : moves_->heard()) {
    const int thread = line[line.rfind(' ') - 1] - '0';
    EXPECT_EQ(line, delivered(thread, next[thread]++));
  }
  EXPECT_EQ(next, std::vector<int>(kThreads, kPosts));
  EXPECT_FALSE(moves_->offMainThread);
}

// A post from another thread wakes the main thread waiting in runFor: the delivery comes at once, not when
// the time is up. The worker's wait is a hang guard far above a wake-up and below the loop's time.
TEST_F(MainLoopThreads, APostFromAnotherThreadWakesALoopRunningForATime) {
  std::promise<void> looping, deliveredSecond;
  std::future<void> loopingSeen = looping.get_future(), secondSeen = deliveredSecond.get_future();
  moves_->onDelivery = [&, deliveries = 0]() mutable {
    (++deliveries == 1 ? looping : deliveredSecond).set_value();
  };
  postStamp(kMoved, 0, 0);  // delivered as the loop begins
  std::future<bool> wokeAtOnce = std::async(std::launch::async, [&] {
    if (loopingSeen.wait_for(std::chrono::seconds(10)) != std::future_status::ready) return false;
    postStamp(kMoved, 1, 0);
    return secondSeen.wait_for(std::chrono::milliseconds(1500)) == std::future_status::ready;
  });
  loop().runFor(std::chrono::milliseconds(2500));
  EXPECT_TRUE(wokeAtOnce.get());
  EXPECT_EQ(moves_->heard(), (std::vector<std::string>{delivered(0, 0), delivered(1, 0)}));
}

}  // namespace
