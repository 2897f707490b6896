#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
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

TEST(SubjectNotify, AttachingTwiceCallsOnceAndNullOrUnknownListenersAreIgnored) {
  std::vector<std::string> log;
  Subject subject;
  Listener a("a", &log);
  subject.attach(&a);
  subject.attach(&a);
  subject.attach(nullptr);
  Listener stranger("s", &log);
  subject.detach(&stranger);
  subject.notify("Stop", nullptr);
  EXPECT_EQ(log, std::vector<std::string>{"a:Stop"});
  EXPECT_EQ(a.lastSubject, static_cast<IZelSubject*>(&subject));
  subject.detach(&a);
}

TEST(SubjectNotify, ListenersAreCalledInPointerOrderNotAttachmentOrder) {
  std::vector<std::string> log;
  std::vector<std::unique_ptr<Listener>> listeners;
  std::vector<Listener*> called;
  for (int i = 0; i < 6; ++i) {
    listeners.push_back(std::make_unique<Listener>("l", &log));
    Listener* self = listeners.back().get();
    self->action = [&called, self] { called.push_back(self); };
  }
  Subject subject;
  for (auto it = listeners.rbegin(); it != listeners.rend(); ++it) subject.attach(it->get());
  subject.notify("E", nullptr);
  ASSERT_EQ(called.size(), 6u);
  EXPECT_TRUE(std::is_sorted(called.begin(), called.end()));
  for (auto& l : listeners) subject.detach(l.get());
}

TEST(SubjectNotify, ChangesMadeDuringANotificationTakeEffectFromTheNextOne) {
  std::vector<std::string> log;
  Subject subject;
  Listener self("self", &log), late("late", &log);
  self.action = [&] {
    subject.detach(&self);
    subject.attach(&late);
  };
  subject.attach(&self);
  subject.notify("first", nullptr);
  EXPECT_EQ(log, std::vector<std::string>{"self:first"}) << "a listener attached now misses this event";
  subject.notify("second", nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"self:first", "late:second"})) << "the detached one hears no more";
  subject.detach(&late);
}

TEST(SubjectNotify, ADetachedListenerLaterInTheSnapshotIsStillCalledOnce) {
  std::vector<std::string> log;
  Subject subject;
  auto first = std::make_unique<Listener>("x", &log);
  auto second = std::make_unique<Listener>("y", &log);
  Listener* low = std::min(first.get(), second.get());
  Listener* high = std::max(first.get(), second.get());
  low->action = [&] { subject.detach(high); };
  subject.attach(first.get());
  subject.attach(second.get());
  subject.notify("E", nullptr);
  EXPECT_EQ(log.size(), 2u);
  subject.notify("F", nullptr);
  EXPECT_EQ(log.size(), 3u);
  subject.detach(low);
}

TEST(SubjectNotify, NestedNotificationsRunToCompletionFirst) {
  std::vector<std::string> log;
  Subject subject;
  Listener a("a", &log);
  bool nested = false;
  a.action = [&] {
    if (nested) return;
    nested = true;
    subject.notify("inner", nullptr);
  };
  subject.attach(&a);
  subject.notify("outer", nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"a:outer", "a:inner"}));
  subject.detach(&a);
}

TEST(SubjectNotify, DestroyingASubjectCallsNoListener) {
  std::vector<std::string> log;
  Listener a("a", &log);
  {
    Subject subject;
    subject.attach(&a);
  }
  EXPECT_TRUE(log.empty());
}

TEST(SubjectQuery, AnswersItsNamesInOrder) {
  IPtr<Subject> subject(new Subject);
  void* out = nullptr;
  subject->queryInterface("PalperaSubjectBase", &out, false);
  EXPECT_EQ(out, static_cast<PalperaSubjectBase*>(subject.get()));
  subject->queryInterface("IZelSubject", &out, false);
  EXPECT_EQ(out, static_cast<IZelSubject*>(subject.get()));
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
