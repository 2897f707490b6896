#pragma once

// ZelChunkedArray: a large block of fixed-size records kept in pages of 2^shift records, so that growing it
// never moves the records already there. Element i lives on page i >> shift at offset i & (2^shift − 1).
// Every page is zero-filled when made; the last page holds just the records in use. The record count works as
// the capacity: growing doubles it (from 1) until the new count is reached, then stops at the end of the page
// that holds that index. Allocation failures end the process, as every foundation allocation does. One thread
// at a time.

#include <cstdint>

class ZelChunkedArray {
 public:
  // Records of elementSize bytes (at least 1), 2^shift to a page (shift from 0 to 30).
  ZelChunkedArray(int32_t elementSize, int32_t shift);
  ZelChunkedArray(const ZelChunkedArray&) = delete;
  ZelChunkedArray& operator=(const ZelChunkedArray&) = delete;
  ~ZelChunkedArray() { freeChunks(); }

  // Replaces the contents with count zeroed records.
  void createChunks(int32_t count);
  // Grows to hold record newCount − 1 at least; nothing when the count suffices. Records keep their contents
  // (and, except on a last page that was partial, their addresses); new ones are zero.
  void growChunks(int32_t newCount);
  // Frees every page and the page table; the count becomes 0.
  void freeChunks();

  // Record index, which must lie below count.
  uint8_t* element(int32_t index) const {
    return pages_[index >> shift_] + static_cast<int64_t>(index & (pageLength() - 1)) * elementSize_;
  }
  int32_t count() const { return count_; }
  int32_t elementSize() const { return elementSize_; }
  int32_t pageCount() const { return pagesFor(count_); }
  int32_t pageTableSlots() const { return slots_; }
  int32_t pageLength() const { return 1 << shift_; }

 private:
  int32_t pagesFor(int32_t count) const { return (count >> shift_) + ((count & (pageLength() - 1)) ? 1 : 0); }
  // The records page p holds when the array holds count records.
  int32_t recordsOnPage(int32_t p, int32_t count) const;
  uint8_t* newZeroedPage(int32_t records) const;
  void reservePageSlots(int32_t pages);

  int32_t elementSize_;
  int32_t shift_;
  int32_t count_ = 0;
  uint8_t** pages_ = nullptr;
  int32_t slots_ = 0;
};
