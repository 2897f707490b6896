#pragma once

// The main-thread end of a device event. A handler subscribes itself with the host's data store under its
// tag's event name when it is made and unsubscribes when it goes; the host hands it each posted event's
// record, and the handler calls every receiver of the device with it, outside the device lock, in the
// order of the receiver set. A device makes its handlers when its acquisition starts and drops them when it
// stops; it owns them and outlives them, so a handler holds no reference to the device.
//
// OnMovedEventHandler is also the device's move-event queue (IZelHardProbeEventQueue), so every acquisition
// starts with no move in flight. Its count is lowered after each delivered move, whatever the move's record
// was, so a move that reached the main thread always frees the way for the next one.
//
// Main thread only, apart from the queue operations, which the worker thread calls too.

#include <cstdint>
#include <mutex>

#include "devices/events/device_receivers.h"
#include "devices/events/hard_probe_event_queue.h"
#include "framework/data/zel_data_receiver_base.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

template <class Event>
class PluginEventHandler : public ZelDataReceiverBase, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginEventHandler";
  using Receiver = typename Event::Receiver;
  using Record = typename Event::Record;

  explicit PluginEventHandler(DeviceReceivers<Receiver>* receivers) : receivers_(receivers) {
    store_.getService();
    if (store_) store_->addListener(Event::eventName, this);
  }
  PluginEventHandler(const PluginEventHandler&) = delete;
  PluginEventHandler& operator=(const PluginEventHandler&) = delete;
  ~PluginEventHandler() override {
    if (store_) store_->removeListener(Event::eventName, this);
  }

  bool onDataEvent(const char*, IZelUnknown* data) override {
    // A receiver may stop the device's acquisition, which drops this handler: it stays until it returns.
    IPtr<IZelDataReceiver> self(this);
    deliver(data);
    return true;
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    queryHandlerChain(chain);
    chain.end();
  }
  const char* className() override { return interfaceName; }

 protected:
  void queryHandlerChain(QueryChain& chain) {
    chain.classLeaf(interfaceName, this, static_cast<IZelDataReceiver*>(this))
        .template offer<IZelDataReceiver>(this);
  }

  void deliver(IZelUnknown* data) {
    if (!data) return;
    void* part = nullptr;
    data->queryInterface(Record::interfaceName, &part, false);
    if (!part) return;
    auto* record = static_cast<Record*>(part);
    for (const IPtr<Receiver>& receiver : receivers_->snapshot()) Event::call(*receiver, *record);
  }

 private:
  IPtr<IDataStore> store_;
  DeviceReceivers<Receiver>* const receivers_;  // the device's, which outlives the handler
};

template <class Event>
class OnMovedEventHandler : public PluginEventHandler<Event>, public IZelHardProbeEventQueue {
 public:
  static constexpr const char* interfaceName = "OnMovedEventHandler";

  using PluginEventHandler<Event>::PluginEventHandler;

  bool onDataEvent(const char*, IZelUnknown* data) override {
    IPtr<IZelDataReceiver> self(this);
    this->deliver(data);
    decrement();
    return true;
  }

  void increment() override {
    std::lock_guard lock(mutex_);
    ++inFlight_;
  }
  void decrement() override {
    std::lock_guard lock(mutex_);
    if (inFlight_ != 0) --inFlight_;
  }
  bool isPending() override {
    std::lock_guard lock(mutex_);
    return inFlight_ == 1;
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(interfaceName, this, static_cast<IZelDataReceiver*>(this))
        .template offer<IZelHardProbeEventQueue>(this);
    this->queryHandlerChain(chain);
    chain.end();
  }
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  uint32_t inFlight_ = 0;  // guarded by mutex_: the moves posted and not yet delivered
};
