#pragma once

// One item factory per creatable class: it names the class and makes its objects. Item factories are static
// objects that live as long as the module; the registry does not own them.

#include <cstdint>
#include <mutex>

#include "basic_types/zel_id.h"
#include "framework/object/iptr.h"
#include "host/api/zel_unknown.h"

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

template <class T>
class ZelTClassItemFactory : public ZelItemFactory {
 public:
  using ZelItemFactory::ZelItemFactory;

  IZelUnknown* create(uint32_t* status) override {
    *status = kCreatedNew;
    return static_cast<IZelUnknown*>(new T);
  }
};

// Makes its object on the first request and keeps one reference of its own until the module detaches from
// its host (then the next request makes a new one, for the next host). The first request may come from any
// thread: should two race, one object wins and the other is let go.
class SingletonInstances;

template <class T>
class ZelSingletonTClassItemFactory : public ZelItemFactory {
 public:
  ZelSingletonTClassItemFactory(const char* className, const ZelID& classId);
  ~ZelSingletonTClassItemFactory() override;

  IZelUnknown* create(uint32_t* status) override {
    *status = kCreatedShared;
    {
      std::lock_guard lock(mutex_);
      if (instance_) return static_cast<IZelUnknown*>(instance_);
    }
    // Made outside the lock: a singleton's construction may call the host (a dialog, a file), and the host
    // may ask for the same singleton again.
    T* fresh = new T;
    IPtr<IZelUnknown> made(static_cast<IZelUnknown*>(fresh));
    std::lock_guard lock(mutex_);
    if (!instance_) {
      instance_ = fresh;
      made->addRef();  // the factory's own reference, kept until the module leaves its host
    }
    return static_cast<IZelUnknown*>(instance_);
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
  std::mutex mutex_;
  T* instance_ = nullptr;  // guarded by mutex_
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
