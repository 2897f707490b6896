#pragma once

// A data-store receiver for tests: it records every callback as one line ("int Palpera/Logging 1") and can
// run a step of the test from inside each callback. Safe on any thread.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/data_store.h"
#include "platform/utf8.h"

class RecordingReceiver : public IZelDataReceiver, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "RecordingReceiver";

  bool onNotify(const char* key) override { return note("notify", key, ""); }
  bool onDataEvent(const char* key, IZelUnknown*) override { return note("data", key, ""); }
  bool onIntChanged(const char* key, int32_t v) override { return note("int", key, std::to_string(v)); }
  bool onDoubleChanged(const char* key, double v) override { return note("double", key, std::to_string(v)); }
  bool onObjectChanged(const char* key, IZelUnknown* value) override {
    return note("object", key, value ? value->className() : "null");
  }
  bool onStringChanged(const char* key, const ZelString& value) override {
    return note("string", key, platform::toUtf8(value.c_str()));
  }
  bool onBlobChanged(const char* key, const void*, uint32_t size) override {
    return note("blob", key, std::to_string(size));
  }

  std::vector<std::string> heard() {
    std::lock_guard lock(mutex_);
    return heard_;
  }
  // Runs inside every later callback, after it was recorded.
  void setDuringCall(std::function<void()> step) { duringCall_ = std::move(step); }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDataReceiver>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  bool note(const char* what, const char* key, const std::string& value) {
    {
      std::lock_guard lock(mutex_);
      heard_.push_back(std::string(what) + " " + key + (value.empty() ? "" : " " + value));
    }
    if (duringCall_) duringCall_();
    return true;
  }

  std::mutex mutex_;
  std::vector<std::string> heard_;  // guarded by mutex_
  std::function<void()> duringCall_;
};
