#pragma once

// The host's own events about the document and the alignment ("Document/Reset", "General/AlignmentChanged"),
// apart from the data store's settings. A subscribed receiver hears each event through its onNotify(name), on
// the thread that raised it (the host's main thread), after the host has let go of its lock: a receiver may
// subscribe and unsubscribe from inside the call.

#include "host_api/data_store.h"

class IEventDataStore : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IEventDataStore";

  // As IDataStore's: only the host's known events can be subscribed to (false otherwise), subscribing twice
  // is one subscription, and the store holds no reference: a receiver unsubscribes before it goes.
  virtual bool addListener(const char* key, IZelDataReceiver* receiver) = 0;
  // False when the receiver was not subscribed to the event.
  virtual bool removeListener(const char* key, IZelDataReceiver* receiver) = 0;
};
