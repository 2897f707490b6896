#pragma once

// A module loaded the way a host loads one: the shared library opened with dlopen, its EntryPoint called.

#include <memory>
#include <string>

#include "framework/object/iptr.h"
#include "host_api/zel_component.h"

class ModuleLibrary {
 public:
  // Opens the library and asks EntryPoint for a component. On failure answers null and says why in error.
  static std::unique_ptr<ModuleLibrary> load(const std::string& path, std::string& error);
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;
  // The library stays loaded: module-wide objects of the module may still be referenced by the host.
  ~ModuleLibrary() = default;

  IZelComponent* component() const { return component_.get(); }
  uint32_t interfaceVersion() const { return interfaceVersion_; }

 private:
  ModuleLibrary() = default;

  void* handle_ = nullptr;
  IPtr<IZelComponent> component_;
  uint32_t interfaceVersion_ = 0;
};
