#pragma once

// The stand-in host's data store (the service "IDataStore"): typed items under path-like keys, registered
// once and read and written from any thread.
//
// Registration: a key lies under a group registered before it (a group may also stand at the top level); a
// key under an unknown group, an item with no group, a range whose minimum exceeds its maximum, a NaN bound
// or default and a string of no positive maximum length are refused. Registering a key again changes nothing
// and answers false: the first registration wins. A string default longer than the maximum is cut to it.
//
// Reads answer the registered default until a value is set; an unknown key, or a read of another kind than
// the item's, answers the caller's default (empty text, no blob). Writes go to registered items of their own
// kind only: an int or double is clamped to the range (NaN is refused), a string is cut to its maximum length
// in UTF-16 code units (never inside a surrogate pair; a narrow string's in UTF-8 bytes, never inside a
// character; either kind of string item takes and gives both kinds of text), a blob of another size than the
// registered one is refused. setObject works on any registered item and holds a reference on the object,
// beside the item's typed value, until the next setObject or the store's end.
//
// Delivery: every accepted write and every fired event reaches the receivers subscribed to that exact key,
// in the order they subscribed, except the originator, on the writing thread, after the store's lock is
// released: a receiver may read, write and (un)subscribe from inside its callback. A receiver unsubscribed
// before its turn in a delivery is not called; one unsubscribed on another thread while a delivery is under
// way may still receive that one call, so it must stay valid until such deliveries end. While notifications
// are switched off, writes and events are accepted and nobody is told (nothing is replayed later).

#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/data_item.h"
#include "host/core/host_unknown.h"
#include "host_api/data_store.h"

class HostDataStore : public IDataStore, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostDataStore";

  // A completeGroup the store accepted: the group and how many of its keys (itself included) were registered
  // by then.
  struct Completion {
    std::string group;
    size_t registrationsBefore = 0;
  };

  bool addGroup(const char* group) override;
  bool addEvent(const char* event, IZelUnknown* data) override;
  bool addIntItem(const char* key, int32_t defaultValue, int32_t minimum, int32_t maximum,
                  uint32_t flags) override;
  bool addDoubleItem(const char* key, double defaultValue, double minimum, double maximum,
                     uint32_t flags) override;
  bool addStringItem(const char* key, int32_t maximumLength, const ZelString& defaultValue,
                     uint32_t flags) override;
  bool addNarrowStringItem(const char* key, int32_t maximumLength, const char* defaultValue,
                           uint32_t flags) override;
  bool addBlobItem(const char* key, uint32_t size, const void* defaultBytes, uint32_t flags) override;
  bool addObjectItem(const char* key, uint32_t flags) override;
  // Each call hands out a new handle; completeGroup takes any handle handed out and a registered group.
  uint32_t registrationHandle() override;
  bool completeGroup(uint32_t handle, const char* group) override;

  int32_t getInt(const char* key, int32_t defaultValue) override;
  double getDouble(const char* key, double defaultValue) override;
  ZelString getString(const char* key) override;
  ZelCString getNarrowString(const char* key) override;
  const void* getBlob(const char* key, uint32_t* size, bool* found) override;
  IZelUnknown* getObject(const char* key) override;
  void getRange(const char* key, double* minimum, double* maximum, bool* known) override;

  bool setInt(IZelDataReceiver* originator, const char* key, int32_t value) override;
  bool setDouble(IZelDataReceiver* originator, const char* key, double value) override;
  bool setString(IZelDataReceiver* originator, const char* key, const ZelString& value) override;
  bool setNarrowString(IZelDataReceiver* originator, const char* key, const char* value) override;
  bool setBlob(IZelDataReceiver* originator, const char* key, const void* bytes, uint32_t size) override;
  bool setObject(IZelDataReceiver* originator, const char* key, IZelUnknown* value) override;
  // Only a registered event can be fired.
  bool fireEvent(IZelDataReceiver* originator, const char* event) override;

  // Only registered keys can be subscribed to; subscribing twice is one subscription.
  bool addListener(const char* key, IZelDataReceiver* receiver) override;
  // False when the receiver was not subscribed to the key.
  bool removeListener(const char* key, IZelDataReceiver* receiver) override;
  void enableNotifications(bool on) override;
  bool notificationsEnabled() override;

  // Host side, for the main loop: hands a data event posted to the main application to the receivers
  // subscribed to its name, as every change is delivered (on this thread, outside the lock; not while
  // notifications are off), whatever the kind of the item. False when the store does not know the name.
  bool deliverDataEvent(const char* key, IZelUnknown* data);

  // Host side, for the command-line host and tests: the group's own registration, then every key under it
  // (sub-groups and their keys included) in registration order; empty for a key that is no group.
  std::vector<DataItemRegistration> listGroup(const std::string& group);
  // Host side: the registration of a key, or nothing for a key the store does not know.
  std::optional<DataItemRegistration> registration(const std::string& key);
  // Host side: what a key holds now (its default until it is set); empty for an unknown key and for the
  // kinds that hold no value.
  DataValue value(const std::string& key);
  std::vector<Completion> completions();

  // Host side, for the user-settings file (user_settings_store.h; defined in host_data_store_settings.cpp).
  // A value read for key, from the place origin names ("store.txt:4"): a registered user setting (flags 3)
  // takes it at once (nobody is told, as nobody is of a registration); a key not registered yet keeps it
  // waiting, and the key's registration as a user setting takes it in place of the default. A value the item
  // refuses (whyItemRefuses: not finite, beyond the range, of another kind or size) leaves the default in
  // place and is told to the refusal receiver as "ORIGIN: KEY: reason; the default DEFAULT is kept" (an empty
  // one: "the default, which is empty, is kept"); the file keeps its line. A value for an item of other flags
  // is dropped.
  void preloadUserSetting(const std::string& key, DataValue value, std::string origin = {});
  // Who hears of a refused value, on the thread that registers or preloads, outside the store's lock; none
  // by default.
  void setRefusalReceiver(std::function<void(const std::string&)> receiver);
  // What this run changed: every registered user setting written since it was registered whose value is no
  // longer the one it took from the file (its default where the file held none; any value where it refused
  // the file's), in registration order. A write of the value it holds already changes nothing.
  struct SettingChange {
    StoredSetting setting;  // the key and the value it holds now
    DataValue stored;       // what it took from the file; nothing when it refused the file's value
    bool inFile = false;    // the file holds a value for it (stored is its default otherwise)
  };
  std::vector<SettingChange> changedUserSettings();
  // The user setting's change is not this run's to keep: the file's value stays (until it is written again).
  void keepStoredValue(const std::string& key);
  // The preloaded keys no item took that name a registered user setting once their invisible characters are
  // gone (byte order marks, zero-width characters, blanks at either end), each told as "ORIGIN: "KEY" is no
  // setting: without its invisible characters (U+200B ...) it is SETTING, which keeps VALUE"; an editor put
  // them there, and the user meant the setting.
  std::vector<std::string> keysMeaningSettingsUnseen();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Item {
    DataItemRegistration registration;
    DataValue value;
    IPtr<IZelUnknown> object;                  // setObject's value, or the data of an event
    std::vector<IZelDataReceiver*> receivers;  // in subscription order, held without a reference
    DataValue stored;                          // what it took from the file; nothing when it refused it
    bool inFile = false;                       // the file gave it a value (stored is the default otherwise)
    bool written = false;                      // a write was accepted since the registration
  };
  struct Preloaded {
    DataValue value;
    std::string origin;
  };

  bool add(DataItemRegistration registration, IZelUnknown* object = nullptr);
  bool mayRegisterLocked(const DataItemRegistration& registration) const;
  Item* findLocked(const char* key);
  template <class T>
  std::optional<T> read(const char* key);
  template <class Change, class Tell>
  bool write(IZelDataReceiver* originator, const char* key, Change change, Tell tell);
  template <class Tell>
  void deliver(const char* key, const std::vector<IZelDataReceiver*>& receivers, Tell tell);
  bool isSubscribed(const char* key, IZelDataReceiver* receiver);
  // Gives a registered user setting the preloaded value, or leaves its default and answers the warning.
  std::optional<std::string> takeLocked(Item& item, Preloaded preloaded);
  void tellRefusal(const std::optional<std::string>& warning);

  std::mutex mutex_;
  std::map<std::string, Item> items_;    // guarded by mutex_
  std::vector<std::string> order_;       // guarded by mutex_; every registered key, in registration order
  std::vector<Completion> completions_;  // guarded by mutex_
  std::map<std::string, Preloaded> waiting_;  // guarded by mutex_; preloaded values of unregistered keys
  std::function<void(const std::string&)> refusalReceiver_;  // guarded by mutex_
  uint32_t handlesHandedOut_ = 0;                            // guarded by mutex_
  bool notificationsOn_ = true;                              // guarded by mutex_
};
