#pragma once

// The point buffers of one acquisition's scan lines. A scan-line record draws its buffer from here and hands
// it back when it goes, so that a steady scanner fills the same few buffers again and again instead of
// asking the C heap for a fresh block of tens of kilobytes per line, which the worker thread allocates and
// the main thread frees, and which the heap returns to the system and faults in again page by page.
//
// Buffers keep their length when handed back: a buffer drawn for a line no longer than the one it last held
// needs no clearing. Up to kIdleBytes of idle buffers are kept, as many as were in flight at once; beyond
// that a buffer handed back is freed. Safe on any thread: the lock is held only to move a buffer in or out.

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

class LineBuffers {
 public:
  using Buffer = std::vector<double>;
  static constexpr size_t kIdleBytes = size_t{16} << 20;

  LineBuffers() = default;
  LineBuffers(const LineBuffers&) = delete;
  LineBuffers& operator=(const LineBuffers&) = delete;

  // The most recently handed back buffer, or an empty one.
  Buffer take();
  void give(Buffer buffer);

 private:
  std::mutex mutex_;
  std::vector<Buffer> idle_;  // guarded by mutex_
  size_t idleBytes_ = 0;      // guarded by mutex_: the capacity of idle_'s buffers
};
