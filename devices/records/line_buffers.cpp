#include "devices/records/line_buffers.h"

LineBuffers::Buffer LineBuffers::take() {
  Buffer taken;
  std::lock_guard lock(mutex_);
  if (idle_.empty()) return taken;
  taken = std::move(idle_.back());
  idle_.pop_back();
  idleBytes_ -= taken.capacity() * sizeof(double);
  return taken;
}

void LineBuffers::give(Buffer buffer) {
  const size_t bytes = buffer.capacity() * sizeof(double);
  if (bytes == 0) return;
  {
    std::lock_guard lock(mutex_);
    if (idleBytes_ + bytes > kIdleBytes) return;  // freed by buffer's destructor, after the lock
    idleBytes_ += bytes;
    idle_.push_back(std::move(buffer));
  }
}
