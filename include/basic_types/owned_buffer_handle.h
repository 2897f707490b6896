#pragma once

// OwnedBufferHandle: a buffer lent by a host object, given back to that owner exactly once, through the
// owner's releaseBuffer operation, when the handle goes. The owner must outlive the handle. A handle belongs
// to one thread at a time.

#include <utility>

template <class Owner, class Buffer>
class OwnedBufferHandle {
 public:
  OwnedBufferHandle(Owner* owner, Buffer buffer) : owner_(owner), buffer_(std::move(buffer)) {}
  OwnedBufferHandle(const OwnedBufferHandle&) = delete;
  OwnedBufferHandle& operator=(const OwnedBufferHandle&) = delete;
  ~OwnedBufferHandle() {
    if (owner_) owner_->releaseBuffer(buffer_);
  }

  const Buffer& buffer() const { return buffer_; }

 private:
  Owner* owner_;
  Buffer buffer_;
};
