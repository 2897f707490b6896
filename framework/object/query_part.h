#pragma once

// An object's part of interface T, found by T's interface name, without a reference for the caller; null for
// a null object or one that does not answer the name.

#include "host_api/zel_unknown.h"

template <class T>
T* queryPart(IZelUnknown* object) {
  if (!object) return nullptr;
  void* part = nullptr;
  object->queryInterface(T::interfaceName, &part, false);
  return static_cast<T*>(part);
}
