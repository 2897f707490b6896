#pragma once

// One item factory per creatable class: it names the class and makes its objects. Item factories are static
// objects that live as long as the module; the registry does not own them.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>

#include "basic_types/zel_id.h"
#include "framework/object/iptr.h"
#include "host_api/zel_unknown.h"

// The status a factory answers: a new object per request, or the one shared object.
inline constexpr uint32_t kCreatedNew = 1;
inline constexpr uint32_t kCreatedShared = 2;

class ZelItemFactory {
 public:
  ZelItemFactory(const char* className, const ZelID& classId) : className_(className), classId_(classId) {}
  ZelItemFactory(const ZelItemFactory&) = delete;
  ZelItemFactory& operator=(const ZelItemFactory&) = delete;
  virtual ~ZelItemFactory() = default;

  // A new or the shared object, with *status set to 1 or 2; the object's count is not raised for the caller.
  virtual IZelUnknown* create(uint32_t* status) = 0;
  const char* className() const { return className_; }
  void* reserved() const { return reserved_; }
  const ZelID& classId() const { return classId_; }

 private:
  const char* className_;
  void* reserved_ = nullptr;
  ZelID classId_;
};

// A new object of T, or null when memory for it (or for what its constructor builds) cannot be had: no
// allocation failure leaves a factory.
template <class T>
T* makeObjectOrNull() {
  try {
    return new T;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

template <class T>
class ZelTClassItemFactory : public ZelItemFactory {
 public:
  using ZelItemFactory::ZelItemFactory;

  IZelUnknown* create(uint32_t* status) override {
    *status = kCreatedNew;
    return static_cast<IZelUnknown*>(makeObjectOrNull<T>());
  }
};

// Makes its object on the first request and keeps one reference of its own until the module detaches from
// its host (then the next request makes a new one, for the next host). The first request may come from any
// thread: one request constructs, and others racing it wait for that object. The object is constructed
// outside the lock, since its constructor may call the host (a dialog, a file); a request it makes for its
// own class on the same thread answers null rather than waiting for itself.
class SingletonInstances;

template <class T>
class ZelSingletonTClassItemFactory : public ZelItemFactory {
 public:
  ZelSingletonTClassItemFactory(const char* className, const ZelID& classId);
  ~ZelSingletonTClassItemFactory() override;

  IZelUnknown* create(uint32_t* status) override {
    *status = kCreatedShared;
    {
      std::unique_lock lock(mutex_);
      constructed_.wait(lock, [this] { return instance_ || !constructing() || constructingHere(); });
      if (instance_) return static_cast<IZelUnknown*>(instance_);
      if (constructing()) return nullptr;  // asked by its own constructor
      constructor_ = std::this_thread::get_id();
    }
    T* made = nullptr;
    try {
      made = makeObjectOrNull<T>();
    } catch (...) {
      publish(nullptr);
      throw;
    }
    // The factory's own reference, kept until the module leaves its host.
    if (made) static_cast<IZelUnknown*>(made)->addRef();
    publish(made);
    return static_cast<IZelUnknown*>(made);
  }

  // Gives up the factory's reference; the object dies unless someone else still holds it.
  void releaseInstance() {
    T* released = nullptr;
    {
      std::lock_guard lock(mutex_);
      std::swap(released, instance_);
    }
    if (released) static_cast<IZelUnknown*>(released)->release();
  }

 private:
  bool constructing() const { return constructor_ != std::thread::id(); }
  bool constructingHere() const { return constructor_ == std::this_thread::get_id(); }

  // Ends a construction turn: the object (or null when it could not be made) becomes the answer of the
  // requests waiting for it.
  void publish(T* made) {
    {
      std::lock_guard lock(mutex_);
      instance_ = made;
      constructor_ = std::thread::id();
    }
    constructed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable constructed_;
  T* instance_ = nullptr;        // guarded by mutex_
  std::thread::id constructor_;  // guarded by mutex_; the thread constructing the object, if any
};

// Every singleton factory, so that detaching from the host can let go of the singletons.
class SingletonInstances {
 public:
  using Release = void (*)(void* factory);
  static void enrol(void* factory, Release release);
  static void withdraw(void* factory);
  // Releases every singleton, the most recently enrolled first.
  static void releaseAll();
};

template <class T>
ZelSingletonTClassItemFactory<T>::ZelSingletonTClassItemFactory(const char* className, const ZelID& classId)
    : ZelItemFactory(className, classId) {
  SingletonInstances::enrol(this, [](void* factory) {
    static_cast<ZelSingletonTClassItemFactory<T>*>(factory)->releaseInstance();
  });
}

template <class T>
ZelSingletonTClassItemFactory<T>::~ZelSingletonTClassItemFactory() {
  SingletonInstances::withdraw(this);
}
