#include "host/scene/host_vertex_array.h"

#include <algorithm>

#include "framework/object/query_chain.h"

void HostVertexArray::resize(int32_t count) {
  entries_.resize(static_cast<size_t>(std::max(count, 0)), Entry{});
}

HostVertexArray::Entry* HostVertexArray::at(int32_t index) {
  if (index < 0 || index >= count()) return nullptr;
  return &entries_[static_cast<size_t>(index)];
}

bool HostVertexArray::set(int32_t index, const Vector3& value) {
  Entry* entry = at(index);
  if (!entry) return false;
  (*entry)[0] = value.x;
  (*entry)[1] = value.y;
  (*entry)[2] = value.z;
  return true;
}

bool HostVertexArray::setColor(int32_t index, const ColorRGBA& value) {
  Entry* entry = at(index);
  if (!entry) return false;
  *entry = {value.r, value.g, value.b, value.a};
  return true;
}

bool HostVertexArray::get(int32_t index, Vector3& out) {
  const Entry* entry = at(index);
  if (!entry) return false;
  out = Vector3((*entry)[0], (*entry)[1], (*entry)[2]);
  return true;
}

bool HostVertexArray::getColor(int32_t index, ColorRGBA& out) {
  const Entry* entry = at(index);
  if (!entry) return false;
  out.r = static_cast<float>((*entry)[0]);
  out.g = static_cast<float>((*entry)[1]);
  out.b = static_cast<float>((*entry)[2]);
  out.a = static_cast<float>((*entry)[3]);
  return true;
}

void HostVertexArray::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<VertexArrayImp>(this).end();
}
