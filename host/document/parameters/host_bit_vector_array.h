#pragma once

// The stand-in host's lists of point selections ("IZelBitVectorArray"). The array keeps its own copy of each
// bit vector, so the caller may change or drop the one it appended.

#include <vector>

#include "host/document/parameters/host_parameter.h"

class HostBitVectorArray final : public HostParameter<HostBitVectorArray, IZelBitVectorArray> {
 public:
  static constexpr const char* interfaceName = "HostBitVectorArray";

  void append(const BitVector& bits) override;
  int32_t count() override { return static_cast<int32_t>(entries_.size()); }
  const BitVector* bitVectorAt(int32_t i) override;

  bool copyValueInto(HostBitVectorArray& copy) const;

 private:
  std::vector<IPtr<BitVector>> entries_;  // entry i at i - 1
};
