#pragma once

// Routes the data store's change callbacks to member handlers of T by key: one table per kind of change
// (notification, integer, double, object, string). listen puts a handler in its table and subscribes the
// receiver to the key; the destructor unsubscribes it from every key of every table. A callback for a key
// without a handler of its kind answers false. Keys are texts that outlive the receiver (literals).
// Main thread only, as the store's callbacks are.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_hash_table.h"
#include "framework/object/iptr.h"
#include "host_api/data_store.h"

template <class T>
class ReceiverBase : public IZelDataReceiver {
 public:
  using NotifyHandler = void (T::*)();
  using IntHandler = void (T::*)(int32_t);
  using DoubleHandler = void (T::*)(double);
  using ObjectHandler = void (T::*)(IZelUnknown*);
  using StringHandler = void (T::*)(const ZelString&);

  ReceiverBase() = default;
  ReceiverBase(const ReceiverBase&) = delete;
  ReceiverBase& operator=(const ReceiverBase&) = delete;
  ~ReceiverBase() override {
    SPtr<IDataStore> store;
    if (!store) return;
    auto unsubscribe = [&](const ZelCString& key, auto&) { store->removeListener(key.data(), this); };
    notifyHandlers_.forEach(unsubscribe);
    intHandlers_.forEach(unsubscribe);
    doubleHandlers_.forEach(unsubscribe);
    objectHandlers_.forEach(unsubscribe);
    stringHandlers_.forEach(unsubscribe);
  }

  bool onNotify(const char* key) override { return call(notifyHandlers_, key); }
  bool onDataEvent(const char*, IZelUnknown*) override { return false; }
  bool onIntChanged(const char* key, int32_t value) override { return call(intHandlers_, key, value); }
  bool onDoubleChanged(const char* key, double value) override { return call(doubleHandlers_, key, value); }
  bool onObjectChanged(const char* key, IZelUnknown* value) override {
    return call(objectHandlers_, key, value);
  }
  bool onStringChanged(const char* key, const ZelString& value) override {
    return call(stringHandlers_, key, value);
  }
  bool onBlobChanged(const char*, const void*, uint32_t) override { return false; }

 protected:
  void listen(const char* key, NotifyHandler handler) { subscribe(notifyHandlers_, key, handler); }
  void listen(const char* key, IntHandler handler) { subscribe(intHandlers_, key, handler); }
  void listen(const char* key, DoubleHandler handler) { subscribe(doubleHandlers_, key, handler); }
  void listen(const char* key, ObjectHandler handler) { subscribe(objectHandlers_, key, handler); }
  void listen(const char* key, StringHandler handler) { subscribe(stringHandlers_, key, handler); }

 private:
  template <class Handler>
  using Table = ZelHashTable<ZelCString, Handler>;

  template <class Handler>
  void subscribe(Table<Handler>& table, const char* key, Handler handler) {
    table.set(ZelCString(key), handler);
    SPtr<IDataStore> store;
    if (store) store->addListener(key, this);
  }

  template <class Handler, class... Value>
  bool call(Table<Handler>& table, const char* key, const Value&... value) {
    const Handler* handler = table.find(ZelCString(key));
    if (!handler) return false;
    (static_cast<T*>(this)->**handler)(value...);
    return true;
  }

  Table<NotifyHandler> notifyHandlers_;
  Table<IntHandler> intHandlers_;
  Table<DoubleHandler> doubleHandlers_;
  Table<ObjectHandler> objectHandlers_;
  Table<StringHandler> stringHandlers_;
};
