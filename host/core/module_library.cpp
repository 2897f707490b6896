#include "host/core/module_library.h"

#include <dlfcn.h>

std::unique_ptr<ModuleLibrary> ModuleLibrary::load(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    error = dlerror();
    return nullptr;
  }
  using EntryPointFunction = int32_t (*)(uint32_t*, IZelComponent**);
  auto entryPoint = reinterpret_cast<EntryPointFunction>(dlsym(handle, "EntryPoint"));
  if (!entryPoint) {
    error = "the module exports no EntryPoint: " + path;
    return nullptr;
  }
  std::unique_ptr<ModuleLibrary> library(new ModuleLibrary);
  library->handle_ = handle;
  IZelComponent* component = nullptr;
  if (entryPoint(&library->interfaceVersion_, &component) != 1 || !component) {
    error = "the module's EntryPoint made no component: " + path;
    return nullptr;
  }
  library->component_ = component;
  return library;
}
