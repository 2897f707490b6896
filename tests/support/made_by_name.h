#pragma once

// A fresh host object made by T's interface name through the root, as the module makes one; empty when the
// host has no such name.

#include "framework/object/iptr.h"

template <class T>
IPtr<T> made() {
  IPtr<T> value;
  value.getService();
  return value;
}
