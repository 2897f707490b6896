#pragma once

// IPtr<T>: the one smart pointer of the module. It holds exactly one reference on its object, counted through
// the object's IZelUnknown part, or nothing. Service lookups by interface name and object creation by class
// id go through the host root; both leave the pointer empty when there is no host or no answer.
//
// T names itself by a static `interfaceName`: an interface's name, or, for a class held by its own type, the
// class name (the class must then declare interfaceName itself). An IPtr belongs to its owner and has no
// lock.

#include <cstdint>
#include <utility>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_id.h"
#include "framework/object/host_root.h"
#include "host_api/zel_root.h"

template <class T>
class IPtr {
 public:
  IPtr() = default;
  explicit IPtr(T* raw) { assign(raw); }
  IPtr(const IPtr& other) { assign(other.pointer_); }
  IPtr(IPtr&& other) noexcept : pointer_(other.pointer_), counted_(other.counted_) {
    other.pointer_ = nullptr;
    other.counted_ = nullptr;
  }
  virtual ~IPtr() { release(); }

  IPtr& operator=(const IPtr& other) {
    assign(other.pointer_);
    return *this;
  }
  IPtr& operator=(IPtr&& other) noexcept {
    if (this != &other) {
      release();
      std::swap(pointer_, other.pointer_);
      std::swap(counted_, other.counted_);
    }
    return *this;
  }
  IPtr& operator=(T* raw) {
    if (raw != pointer_) assign(raw);
    return *this;
  }

  // Takes a reference on raw before giving up the held one, so assigning the held object is safe.
  void assign(T* raw) {
    IZelUnknown* unknown = raw ? static_cast<IZelUnknown*>(raw) : nullptr;
    if (unknown) unknown->addRef();
    release();
    pointer_ = raw;
    counted_ = unknown;
  }

  // Takes over a reference the caller already holds (an answer documented as "the caller holds a reference"),
  // giving up the held one.
  void takeOwnership(T* raw) {
    release();
    pointer_ = raw;
    counted_ = raw ? static_cast<IZelUnknown*>(raw) : nullptr;
  }

  void release() {
    IZelUnknown* counted = counted_;
    pointer_ = nullptr;
    counted_ = nullptr;
    if (counted) counted->release();
  }

  // Fills the pointer with the host's service of T's interface name; answers the host's status (0 without a
  // host). The held object is given up first, even when the lookup then fails.
  int32_t getService() {
    release();
    IZelRoot* root = hostRoot();
    if (!root) return 0;
    ZelCString name(T::interfaceName);
    void* raw = nullptr;
    int32_t status = root->getService(&name, &raw);
    adopt(static_cast<T*>(raw));
    return status;
  }

  // Fills the pointer with a new object of the class, asked for T's interface name.
  int32_t createInstance(const ZelID& classId) {
    release();
    IZelRoot* root = hostRoot();
    if (!root) return 0;
    ZelCString name(T::interfaceName);
    void* raw = nullptr;
    int32_t status = root->createInstance(&classId, &name, &raw);
    adopt(static_cast<T*>(raw));
    return status;
  }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  T& operator*() const { return *pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 protected:
  // Takes a raw answer of the host, which carries no reference for us.
  void adopt(T* raw) {
    pointer_ = raw;
    counted_ = raw ? static_cast<IZelUnknown*>(raw) : nullptr;
    if (counted_) counted_->addRef();
  }

 private:
  T* pointer_ = nullptr;
  IZelUnknown* counted_ = nullptr;  // null exactly when pointer_ is
};

// A service pointer: filled from the host by T's interface name when constructed.
template <class T>
class SPtr : public IPtr<T> {
 public:
  SPtr() { this->getService(); }
};
