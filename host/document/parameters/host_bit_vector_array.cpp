#include "host/document/parameters/host_bit_vector_array.h"

namespace {

IPtr<BitVector> copyOf(const BitVector& bits) {
  IPtr<BitVector> copy(new BitVector(0));
  *copy = bits;
  return copy;
}

}  // namespace

void HostBitVectorArray::append(const BitVector& bits) {
  entries_.push_back(copyOf(bits));
}

const BitVector* HostBitVectorArray::bitVectorAt(int32_t i) {
  if (i < 1 || i > count()) return nullptr;
  return entries_[static_cast<size_t>(i - 1)].get();
}

bool HostBitVectorArray::copyValueInto(HostBitVectorArray& copy) const {
  for (const IPtr<BitVector>& bits : entries_) copy.entries_.push_back(copyOf(*bits));
  return true;
}
