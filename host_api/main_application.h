#pragma once

// The host's hand-off of events from any thread to its main thread. A device's worker thread asks the host
// for a fresh data event (the service "IZelDataEvent": every lookup hands out a new one), names it, gives it
// a data object and posts it to the main application ("IMainApplication"). The host's main thread later
// delivers each posted event, in the order of posting, to the data store's receivers subscribed under the
// event's name: a data event through their onDataEvent(name, data), a bare name through onNotify(name), as a
// fired event. The event service ("IEventService") lets the main thread deliver what is pending from inside
// its own work (a wait loop, the end of an acquisition).

#include "host_api/zel_unknown.h"

// A named event carrying one data object. Safe on any thread; it is filled before it is posted and only read
// after.
class IZelDataEvent : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDataEvent";

  // Copies the narrow name; null gives the empty name.
  virtual void setName(const char* name) = 0;
  // Valid until the next setName.
  virtual const char* name() = 0;
  // Holds a reference on data (null lets go of the one held) for as long as the event lives.
  virtual void setData(IZelUnknown* data) = 0;
  // The held data object without a reference for the caller, or null.
  virtual IZelUnknown* data() = 0;
};

class IMainApplication : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IMainApplication";

  // Queues the event for delivery on the main thread and holds a reference on it until it is delivered.
  // Safe on any thread; never waits for the main thread. False (nothing queued) for a null event.
  virtual bool post(IZelDataEvent* event) = 0;
  // Queues a bare event name (copied), delivered as a fired event of that name. False for a null name.
  virtual bool postName(const char* name) = 0;
};

class IEventService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IEventService";

  // On the main thread: delivers the events posted before the call, in order (untilIdle false), or keeps
  // delivering, also what receivers post meanwhile, until nothing is pending (untilIdle true). A receiver may
  // call it again from inside a delivery; the order of delivery still is the order of posting. On any other
  // thread it does nothing: receivers run on the main thread only.
  virtual void processEvents(bool untilIdle) = 0;
};
