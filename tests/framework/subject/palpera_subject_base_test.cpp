#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/subject/palpera_subject_base.h"

namespace {

class Subject : public PalperaSubjectBase {
 public:
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    querySubjectChain(chain);
  }
  const char* className() override { return interfaceName; }
};

// Records what it hears into a shared log and runs an optional action inside its call.
class Listener : public IZelListener, public ZelUnknownImpl {
 public:
  Listener(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
  void onNotify(const char* event, IZelSubject* subject, void*) override {
    log_->push_back(name_ + ":" + event);
    lastSubject = subject;
    if (action) action();
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Listener", this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return "Listener"; }

  std::function<void()> action;
  IZelSubject* lastSubject = nullptr;

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

// Four listeners in one array, so their order in memory is their index.
TEST(SubjectNotify, EachNotificationCallsItsSnapshotOnceInPointerOrder) {
  std::vector<std::string> log;
  Listener listeners[4] = {{"0", &log}, {"1", &log}, {"2", &log}, {"3", &log}};
  Listener& acting = listeners[0];
  Listener& late = listeners[2];
  Listener& detached = listeners[3];
  {
    Subject subject;
    for (int i : {3, 1, 0, 0}) subject.attach(&listeners[i]);  // twice is once; the order is not kept
    subject.attach(nullptr);
    subject.detach(&late);  // never attached: nothing happens
    bool acted = false;
    acting.action = [&] {
      if (std::exchange(acted, true)) return;
      subject.detach(&detached);
      subject.attach(&late);
      subject.notify("inner", nullptr);
    };
    subject.notify("outer", nullptr);
    EXPECT_EQ(log,
              (std::vector<std::string>{"0:outer", "0:inner", "1:inner", "2:inner", "1:outer", "3:outer"}))
        << "the nested notification runs first; changes count from the next notification";
    EXPECT_EQ(acting.lastSubject, static_cast<IZelSubject*>(&subject));
    void* out = nullptr;
    subject.queryInterface("IZelSubject", &out, false);
    EXPECT_EQ(out, acting.lastSubject);
    log.clear();
    subject.notify("next", nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"0:next", "1:next", "2:next"}));
    log.clear();
  }
  EXPECT_TRUE(log.empty()) << "destroying a subject calls no listener";
}

TEST(SubjectNotifyThreads, AttachDetachAndNotifyFromManyThreads) {
  Subject subject;
  std::atomic<int> heard{0};
  class Counter : public IZelListener, public ZelUnknownImpl {
   public:
    explicit Counter(std::atomic<int>* heard) : heard_(heard) {}
    void onNotify(const char*, IZelSubject*, void*) override { ++*heard_; }
    void queryInterface(const char*, void** out, bool) override { *out = nullptr; }
    const char* className() override { return "Counter"; }

   private:
    std::atomic<int>* heard_;
  };
  std::vector<std::unique_ptr<Counter>> counters;
  for (int i = 0; i < 4; ++i) counters.push_back(std::make_unique<Counter>(&heard));
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        subject.attach(counters[t].get());
        subject.notify("E", nullptr);
        subject.detach(counters[t].get());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_GE(heard.load(), 2000) << "each thread hears at least its own notifications";
}

}  // namespace
