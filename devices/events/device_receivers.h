#pragma once

// The receivers registered with one device, and the device lock that guards them. Commands add and remove
// receivers on the main thread; the device's event handlers take a copy of the set to call, so a receiver
// may add or remove receivers, itself included, from inside a call: the change applies from the next event
// on. The set is ordered by the address of the receiver interface, and that order, not the order of
// registration, is the order of the calls. Each entry holds one reference on its receiver.
//
// The lock is held only while the set is changed or copied; nothing is called under it but the reference
// counting of the copy, and a removed receiver is let go of after the lock is left.

#include <mutex>
#include <set>
#include <vector>

#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"

template <class Receiver>
class DeviceReceivers {
 public:
  DeviceReceivers() = default;
  DeviceReceivers(const DeviceReceivers&) = delete;
  DeviceReceivers& operator=(const DeviceReceivers&) = delete;

  // Registers the object's receiver of the device's kind; an object without it is refused (false). A
  // receiver already registered stays once.
  bool add(IZelPluginDataReceiver* receiver) {
    Receiver* part = receiverOf(receiver);
    if (!part) return false;
    std::lock_guard lock(mutex_);
    receivers_.insert(IPtr<Receiver>(part));
    return true;
  }

  // False when the object's receiver was not registered.
  bool remove(IZelPluginDataReceiver* receiver) {
    Receiver* part = receiverOf(receiver);
    if (!part) return false;
    IPtr<Receiver> removed;  // let go of after the lock: the last reference may end the receiver
    {
      std::lock_guard lock(mutex_);
      auto found = receivers_.find(part);
      if (found == receivers_.end()) return false;
      removed = std::move(receivers_.extract(found).value());
    }
    return true;
  }

  // The receivers to call for one event, in call order, each held for the caller.
  std::vector<IPtr<Receiver>> snapshot() {
    std::lock_guard lock(mutex_);
    return {receivers_.begin(), receivers_.end()};
  }

  size_t size() {
    std::lock_guard lock(mutex_);
    return receivers_.size();
  }

 private:
  struct ByAddress {
    using is_transparent = void;
    static const Receiver* address(const IPtr<Receiver>& p) { return p.get(); }
    static const Receiver* address(const Receiver* p) { return p; }
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      return std::less<const Receiver*>()(address(a), address(b));
    }
  };

  static Receiver* receiverOf(IZelPluginDataReceiver* receiver) { return queryPart<Receiver>(receiver); }

  std::mutex mutex_;
  std::set<IPtr<Receiver>, ByAddress> receivers_;  // guarded by mutex_
};
