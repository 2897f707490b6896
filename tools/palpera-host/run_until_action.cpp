#include <atomic>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/core/host_unknown.h"
#include "host_api/data_store.h"
#include "loop_time.h"
#include "script_actions.h"
#include "shown_word.h"

namespace {

constexpr const char* kDefaultWait = "10000";

// Notes that its key fired or changed, in whatever way the data store tells it.
class EventWatch : public IZelDataReceiver, public HostUnknown {
 public:
  bool fired() const { return fired_; }

  bool onNotify(const char*) override { return note(); }
  bool onDataEvent(const char*, IZelUnknown*) override { return note(); }
  bool onIntChanged(const char*, int32_t) override { return note(); }
  bool onDoubleChanged(const char*, double) override { return note(); }
  bool onObjectChanged(const char*, IZelUnknown*) override { return note(); }
  bool onStringChanged(const char*, const ZelString&) override { return note(); }
  bool onBlobChanged(const char*, const void*, uint32_t) override { return note(); }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("EventWatch", this, this).offer<IZelDataReceiver>(this).end();
  }
  const char* className() override { return "EventWatch"; }

 private:
  bool note() {
    fired_ = true;
    return true;
  }

  std::atomic<bool> fired_{false};
};

// Keeps the watch subscribed while it lives: the store holds receivers without a reference.
class Subscription {
 public:
  Subscription(HostDataStore& store, const std::string& key, EventWatch* watch)
      : store_(store), key_(key), watch_(watch), subscribed_(store.addListener(key.c_str(), watch)) {}
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;
  ~Subscription() {
    if (subscribed_) store_.removeListener(key_.c_str(), watch_);
  }
  bool subscribed() const { return subscribed_; }

 private:
  HostDataStore& store_;
  const std::string key_;
  EventWatch* watch_;
  const bool subscribed_;
};

}  // namespace

void runUntilEvent(HostSession& session, const ScriptWords& words) {
  const std::string& event = words[0];
  std::chrono::milliseconds timeout = loopTimeWord(words.size() > 1 ? words[1] : kDefaultWait);
  IPtr<EventWatch> watch(new EventWatch);
  Subscription subscription(session.host.core().dataStore(), event, watch.get());
  if (!subscription.subscribed()) throw ScriptError("unknown event " + shownWord(event));
  if (!session.host.core().mainLoop().runUntil([&watch] { return watch->fired(); }, timeout)) {
    throw ScriptError(shownWord(event) + " did not fire within " + std::to_string(timeout.count()) + " ms");
  }
}
