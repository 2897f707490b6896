#include "host/document/host_real_parray.h"

#include <algorithm>

#include "framework/object/query_chain.h"

HostRealPArray::HostRealPArray(int32_t dimension, int32_t capacity) : dimension_(std::max(dimension, 1)) {
  values_.reserve(static_cast<size_t>(std::max(capacity, 0)) * static_cast<size_t>(dimension_));
}

int32_t HostRealPArray::count() {
  return static_cast<int32_t>(values_.size() / static_cast<size_t>(dimension_));
}

void HostRealPArray::append(const double* values) {
  if (values) values_.insert(values_.end(), values, values + dimension_);
}

const double* HostRealPArray::at(int32_t index) {
  if (index < 0 || index >= count()) return nullptr;
  return values_.data() + static_cast<size_t>(index) * static_cast<size_t>(dimension_);
}

void HostRealPArray::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<RealPArray>(this).end();
}

RealPArray* HostRealPArrayFactory::createArray(int32_t dimension, int32_t capacity) {
  if (dimension < 1) return nullptr;
  auto* array = new HostRealPArray(dimension, capacity);
  array->addRef();  // the caller's reference
  return array;
}

void HostRealPArrayFactory::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IRealPArrayFactory>(this).end();
}
