#pragma once

// One item factory per creatable class: it names the class and makes its objects. Item factories are static
// objects that live as long as the module; the registry does not own them.

#include <cstdint>
#include <mutex>

#include "basic_types/zel_id.h"
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

// Makes its object on the first request and keeps one reference of its own for as long as it lives, which for
// a registered class is as long as the module is loaded: unloading gives the reference back, so the object
// and all it holds do not outlive the module unreachable. The first request may come from any thread: the
// creation is serialised here.
template <class T>
class ZelSingletonTClassItemFactory : public ZelItemFactory {
 public:
  using ZelItemFactory::ZelItemFactory;
  ~ZelSingletonTClassItemFactory() override {
    if (instance_) static_cast<IZelUnknown*>(instance_)->release();
  }

  IZelUnknown* create(uint32_t* status) override {
    std::call_once(created_, [this] {
      instance_ = new T;
      static_cast<IZelUnknown*>(instance_)->addRef();
    });
    *status = kCreatedShared;
    return static_cast<IZelUnknown*>(instance_);
  }

 private:
  std::once_flag created_;
  T* instance_ = nullptr;
};
