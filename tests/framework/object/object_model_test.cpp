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
#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

// Runs body(t) on count threads at once, t from 0, and waits for them all.
template <class Body>
void onThreads(int count, Body body) {
  std::vector<std::thread> threads;
  for (int t = 0; t < count; ++t) threads.emplace_back(body, t);
  for (std::thread& thread : threads) thread.join();
}

using ReferenceCountingThreads = ModuleTest;

TEST_F(ReferenceCountingThreads, ConcurrentCountsThroughTheRootDestroyOnceAtTheEnd) {
  std::atomic<int> destroyed{0};
  IPtr<IProbeA> shared(new CountedProbe(&destroyed));
  onThreads(8, [&](int) {
    for (int i = 0; i < 5000; ++i) {
      IPtr<IProbeA> local = shared;
      IPtr<IProbeA> another = local;
    }
  });
  EXPECT_EQ(shared->refCount(), 1u);
  EXPECT_EQ(destroyed, 0);
  shared.release();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ReferenceCountingThreads, LastReleaseOnAnyThreadDestroysExactlyOnce) {
  for (int round = 0; round < 200; ++round) {
    std::atomic<int> destroyed{0};
    auto* probe = new CountedProbe(&destroyed);
    for (int t = 0; t < 4; ++t) probe->addRef();
    onThreads(4, [probe](int) { probe->release(); });
    ASSERT_EQ(destroyed, 1);
  }
}

// A caller-made collector with an optional probe set of one name.
struct Collection {
  ZelCountedArray<ZelCString> classStack;
  ZelCountedArray<InterfaceNameEntry> entries;
  InterfaceNameProbe probe;
  InterfaceNameProbe* buckets[7] = {};
  InterfaceNameCollector collector;

  explicit Collection(const char* probeName = nullptr) {
    collector.classStack = &classStack;
    collector.entries = &entries;
    collector.probeBucketCount = 7;
    if (probeName) {
      uint32_t h = 5381;
      for (const char* p = probeName; *p; ++p) h = h * 33 + static_cast<uint32_t>(static_cast<int32_t>(*p));
      probe.name = probeName;
      buckets[h % 7] = &probe;
      collector.probeBuckets = buckets;
    }
  }

  void collect(IZelUnknown* object) {
    object->queryInterface(nullptr, reinterpret_cast<void**>(&collector), true);
  }

  std::vector<std::string> lines() {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= entries.count(); ++i)
      out.push_back(std::string(entries[i].name.c_str()) + "," + std::to_string(entries[i].isClass) + "," +
                    entries[i].owner.c_str());
    return out;
  }
};

TEST(QueryByName, ProbeSetStopsTheCollectionOnlyForNamesTheObjectAdds) {
  IPtr<CountedProbe> probe(new CountedProbe);
  Collection unknownProbe("IZelUnknown");
  unknownProbe.collect(probe.get());
  EXPECT_EQ(unknownProbe.collector.probeHit, 0);
  EXPECT_EQ(unknownProbe.lines(), (std::vector<std::string>{"CountedProbe,1,", "IProbeA,0,CountedProbe",
                                                            "IProbeB,0,CountedProbe"}));
  EXPECT_EQ(unknownProbe.classStack.count(), 0) << "a class without a base chain closes its scope";

  for (const char* added : {"CountedProbe", "IProbeB"}) {
    SCOPED_TRACE(added);
    Collection hit(added);
    hit.collect(probe.get());
    EXPECT_EQ(hit.collector.probeHit, 1);
    EXPECT_EQ(hit.entries.count(), 0);
    EXPECT_EQ(hit.classStack.count(), 0);
  }
}

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
  onThreads(4, [&](int t) {
    for (int i = 0; i < 500; ++i) {
      subject.attach(counters[t].get());
      subject.notify("E", nullptr);
      subject.detach(counters[t].get());
    }
  });
  EXPECT_GE(heard.load(), 2000) << "each thread hears at least its own notifications";
}

}  // namespace
