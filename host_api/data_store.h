#pragma once

// The host's data store: typed settings, run-time values and named events under path-like keys
// ("Palpera/..."). Items are registered once with their kind, default, range and flags; reads answer the
// registered default until a value is set, and a set value is clamped to the registered range. Receivers
// subscribed to a key hear of every change and of every event fired under it, on the thread that made the
// change.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

// What the data store calls when a subscribed key changes or fires. Each callback answers whether the
// receiver handled it.
class IZelDataReceiver : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDataReceiver";

  // An event without a value (a fired event, or a notification that a key changed).
  virtual bool onNotify(const char* key) = 0;
  // A data event posted to the host's main application, delivered on its main thread.
  virtual bool onDataEvent(const char* key, IZelUnknown* data) = 0;
  virtual bool onIntChanged(const char* key, int32_t value) = 0;
  virtual bool onDoubleChanged(const char* key, double value) = 0;
  virtual bool onObjectChanged(const char* key, IZelUnknown* value) = 0;
  virtual bool onStringChanged(const char* key, const ZelString& value) = 0;
  virtual bool onBlobChanged(const char* key, const void* bytes, uint32_t size) = 0;
};

class IDataStore : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IDataStore";

  // Registration. An item's key lies under a group registered before it; registering a key again is ignored.
  virtual bool addGroup(const char* group) = 0;
  virtual bool addEvent(const char* event, IZelUnknown* data) = 0;
  virtual bool addIntItem(const char* key, int32_t defaultValue, int32_t minimum, int32_t maximum,
                          uint32_t flags) = 0;
  virtual bool addDoubleItem(const char* key, double defaultValue, double minimum, double maximum,
                             uint32_t flags) = 0;
  virtual bool addStringItem(const char* key, int32_t maximumLength, const ZelString& defaultValue,
                             uint32_t flags) = 0;
  // A string item of narrow text (UTF-8 on this host), read and written as narrow text; its maximum length
  // counts bytes.
  virtual bool addNarrowStringItem(const char* key, int32_t maximumLength, const char* defaultValue,
                                   uint32_t flags) = 0;
  // A fixed-size item; defaultBytes null means no default (the item reads as not found until set).
  virtual bool addBlobItem(const char* key, uint32_t size, const void* defaultBytes, uint32_t flags) = 0;
  virtual bool addObjectItem(const char* key, uint32_t flags) = 0;
  // Closes the registrations of a group: the handle from registrationHandle, then the group's name.
  virtual uint32_t registrationHandle() = 0;
  virtual bool completeGroup(uint32_t handle, const char* group) = 0;

  // Reads. An unregistered key answers the given default (or empty, or not found).
  virtual int32_t getInt(const char* key, int32_t defaultValue) = 0;
  virtual double getDouble(const char* key, double defaultValue) = 0;
  virtual ZelString getString(const char* key) = 0;
  // An owned copy of a string item's text as narrow text.
  virtual ZelCString getNarrowString(const char* key) = 0;
  // The item's bytes (owned by the store, valid until the next change of the item), or null; *found says
  // whether the item holds a value.
  virtual const void* getBlob(const char* key, uint32_t* size, bool* found) = 0;
  // The held object without a reference for the caller, or null.
  virtual IZelUnknown* getObject(const char* key) = 0;
  // The registered range of a number item; *known is false for any other key.
  virtual void getRange(const char* key, double* minimum, double* maximum, bool* known) = 0;

  // Writes, each naming the receiver that made the change (null for none): that receiver is not told of it.
  // A value outside the registered range is clamped to it; a write to an unregistered key or of the wrong
  // kind is refused (false).
  virtual bool setInt(IZelDataReceiver* originator, const char* key, int32_t value) = 0;
  virtual bool setDouble(IZelDataReceiver* originator, const char* key, double value) = 0;
  virtual bool setString(IZelDataReceiver* originator, const char* key, const ZelString& value) = 0;
  virtual bool setNarrowString(IZelDataReceiver* originator, const char* key, const char* value) = 0;
  // A blob of another size than the registered one is refused.
  virtual bool setBlob(IZelDataReceiver* originator, const char* key, const void* bytes, uint32_t size) = 0;
  virtual bool setObject(IZelDataReceiver* originator, const char* key, IZelUnknown* value) = 0;
  virtual bool fireEvent(IZelDataReceiver* originator, const char* event) = 0;

  // Subscription: a receiver hears each key it subscribed to once, whatever the number of subscriptions.
  // The store holds no reference: a receiver unsubscribes before it goes.
  virtual bool addListener(const char* key, IZelDataReceiver* receiver) = 0;
  virtual bool removeListener(const char* key, IZelDataReceiver* receiver) = 0;

  // Switches the delivery of changes and events off (values still change) and on again. A caller that
  // needs delivery for a while reads the switch first and restores it after; the store starts switched on.
  virtual void enableNotifications(bool on) = 0;
  virtual bool notificationsEnabled() = 0;
};
