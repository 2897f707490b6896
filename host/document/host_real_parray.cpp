#include "host/document/host_real_parray.h"

#include <algorithm>

#include "framework/object/query_chain.h"

namespace {

// A point: x, y, z.
constexpr int32_t kPointWidth = 3;
// The most doubles reserved up front, whatever the capacity asked for.
constexpr size_t kMaxReservedValues = size_t{1} << 20;

}  // namespace

HostRealPArray::HostRealPArray(int32_t entryWidth, int32_t capacity)
    : entryWidth_(std::max(entryWidth, kPointWidth)) {
  size_t wanted = static_cast<size_t>(std::max(capacity, 0)) * static_cast<size_t>(entryWidth_);
  values_.reserve(std::min(wanted, kMaxReservedValues));
}

int32_t HostRealPArray::count() {
  return static_cast<int32_t>(values_.size() / static_cast<size_t>(entryWidth_));
}

double* HostRealPArray::entry(int32_t index) {
  if (index < 1 || index > count()) return nullptr;
  return values_.data() + static_cast<size_t>(index - 1) * static_cast<size_t>(entryWidth_);
}

bool HostRealPArray::append(const double* values) {
  if (!values) return false;
  values_.insert(values_.end(), values, values + entryWidth_);
  return true;
}

const double* HostRealPArray::at(int32_t index) {
  return entry(index);
}

bool HostRealPArray::set(int32_t index, const double* values) {
  double* target = entry(index);
  if (!target || !values) return false;
  std::copy(values, values + entryWidth_, target);
  return true;
}

bool HostRealPArray::removeLast() {
  if (values_.empty()) return false;
  values_.resize(values_.size() - static_cast<size_t>(entryWidth_));
  return true;
}

void HostRealPArray::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<RealPArray>(this).end();
}

RealPArray* HostRealPArrayFactory::createArray(int32_t entryWidth, int32_t capacity) {
  auto* array = new HostRealPArray(entryWidth, capacity);
  array->addRef();  // the caller's reference
  return array;
}

void HostRealPArrayFactory::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IRealPArrayFactory>(this).end();
}
