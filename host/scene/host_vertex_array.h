#pragma once

// The stand-in host's vertex array ("VertexArrayImp"): every lookup of that name gives a fresh, empty array
// (a host class, see HostRoot::HostClass). Entries are four doubles. One thread at a time.

#include <array>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/zel_itr.h"

class HostVertexArray : public VertexArrayImp, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostVertexArray";

  int32_t count() override { return static_cast<int32_t>(entries_.size()); }
  void resize(int32_t count) override;
  bool set(int32_t index, const Vector3& value) override;
  bool setColor(int32_t index, const ColorRGBA& value) override;
  bool get(int32_t index, Vector3& out) override;
  bool getColor(int32_t index, ColorRGBA& out) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  using Entry = std::array<double, 4>;
  // The entry at index, or null outside the array.
  Entry* at(int32_t index);

  std::vector<Entry> entries_;
};
