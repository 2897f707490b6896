#include "host/document/host_binary_streams.h"

#include <algorithm>
#include <cstring>

#include "framework/object/query_chain.h"

namespace {

// The absolute position a seek asks for, or -1 when it lies before the start or past end.
int64_t seekTarget(int64_t position, BinarySeek mode, uint64_t current, uint64_t end) {
  int64_t base = mode == BinarySeek::kBegin     ? 0
                 : mode == BinarySeek::kCurrent ? static_cast<int64_t>(current)
                                                : static_cast<int64_t>(end);
  int64_t target = base + position;
  return target < 0 || static_cast<uint64_t>(target) > end ? -1 : target;
}

}  // namespace

uint64_t HostBinaryOutStream::write(const void* bytes, uint64_t n) {
  writeSizes_.push_back(n);
  uint64_t room = position_ < capacity_ ? capacity_ - position_ : 0;
  uint64_t written = std::min(n, room);
  if (position_ + written > bytes_.size()) bytes_.resize(position_ + written);
  if (written) std::memcpy(bytes_.data() + position_, bytes, written);
  position_ += written;
  return written;
}

bool HostBinaryOutStream::seek(int64_t position, BinarySeek mode) {
  int64_t target = seekTarget(position, mode, position_, bytes_.size());
  if (target < 0) return false;
  position_ = static_cast<uint64_t>(target);
  return true;
}

void HostBinaryOutStream::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelBinaryOutStream>(this).end();
}

uint64_t HostBinaryInStream::read(void* bytes, uint64_t n) {
  uint64_t available = closed_ || position_ >= bytes_.size() ? 0 : bytes_.size() - position_;
  uint64_t got = std::min(n, available);
  if (got) std::memcpy(bytes, bytes_.data() + position_, got);
  position_ += got;
  if (got < n) good_ = false;
  return got;
}

bool HostBinaryInStream::seek(int64_t position, BinarySeek mode) {
  int64_t target = seekTarget(position, mode, position_, bytes_.size());
  if (target < 0 || closed_) return false;
  position_ = static_cast<uint64_t>(target);
  good_ = true;
  return true;
}

void HostBinaryInStream::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelBinaryInStream>(this).end();
}
