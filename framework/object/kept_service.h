#pragma once

// KeptService<T>: a host service that the module looks up once and keeps. It is looked up on first use, and
// again on each later use while the host had none to give, so a service the host offers late is still found.
// Every kept service lets go of its service when the module detaches from its host (forgetKeptServices).
// Instances live for the whole process (function-level NoDestructor statics). Safe on any thread: the lookup,
// a host call, runs outside the lock.

#include <mutex>
#include <utility>

#include "framework/object/iptr.h"

class KeptServiceBase {
 public:
  KeptServiceBase(const KeptServiceBase&) = delete;
  KeptServiceBase& operator=(const KeptServiceBase&) = delete;
  // Lets go of the kept service; the next use looks it up again.
  virtual void forget() = 0;

 protected:
  // Enrols the instance for forgetKeptServices.
  KeptServiceBase();
  ~KeptServiceBase() = default;
};

// Lets go of every kept service (at unload, or when the module is detached from its host).
void forgetKeptServices();

template <class T>
class KeptService final : public KeptServiceBase {
 public:
  KeptService() = default;

  // The kept service, looking it up while none is kept; empty when the host has none.
  IPtr<T> get() {
    {
      std::lock_guard lock(mutex_);
      if (kept_) return kept_;
    }
    IPtr<T> found;
    found.getService();
    if (!found) return found;
    std::lock_guard lock(mutex_);
    if (!kept_) kept_ = found;
    return kept_;
  }

  void forget() override {
    IPtr<T> dropped;  // released outside the lock: the release is a host call
    std::lock_guard lock(mutex_);
    std::swap(dropped, kept_);
  }

 private:
  std::mutex mutex_;
  IPtr<T> kept_;  // guarded by mutex_
};
