#pragma once

// The root of every object that crosses the seam between the module and its host. Both sides build their
// objects on these three classes, so either can count, query and destroy the other's objects.

#include <cstdint>

// The root class: only the virtual destructor.
class ZelObject {
 public:
  virtual ~ZelObject() = default;
};

// Holds the reference count. Once the module knows its host, the host root updates this very field (through
// its address), so the field must stay where the host expects it: in the one shared IZelUnknown part.
class ZelShared : public ZelObject {
 protected:
  int32_t count_ = 0;
};

// Every interface derives virtually from IZelUnknown, so an object has exactly one count however many
// interfaces it implements. Interface names are narrow, zero-terminated and compared byte for byte.
class IZelUnknown : public ZelShared {
 public:
  static constexpr const char* interfaceName = "IZelUnknown";

  // Runs the destructor; bit 0 of flags also frees the object's memory.
  virtual void destroy(uint32_t flags) = 0;
  virtual void addRef() = 0;
  // Drops one reference and destroys the object when it was the last.
  virtual void release() = 0;
  virtual uint32_t refCount() = 0;
  // Sets *out to the part of the object that answers to name, or null; adds no reference. A null name lists
  // every name the object answers to into the InterfaceNameCollector passed in place of out.
  virtual void queryInterface(const char* name, void** out, bool flag) = 0;
  virtual const char* className() = 0;
};
