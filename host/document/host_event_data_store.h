#pragma once

// The stand-in host's document and alignment events (the service "IEventDataStore"): "Document/Reset" and
// "General/AlignmentChanged". They live in a data store of their own, apart from the settings, so they keep
// the data store's rules of subscription and delivery. Safe on any thread.

#include "framework/object/iptr.h"
#include "host/core/host_data_store.h"
#include "host/core/host_unknown.h"
#include "host_api/event_data_store.h"

class HostEventDataStore : public IEventDataStore, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostEventDataStore";
  static constexpr const char* kDocumentReset = "Document/Reset";
  static constexpr const char* kAlignmentChanged = "General/AlignmentChanged";

  HostEventDataStore();

  bool addListener(const char* key, IZelDataReceiver* receiver) override;
  bool removeListener(const char* key, IZelDataReceiver* receiver) override;

  // Host side, for tests and scripts: tells the event's subscribers, on this thread. False for an event the
  // host does not know.
  bool fire(const char* event);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostDataStore> events_;
};
