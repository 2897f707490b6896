#pragma once

// ZelMM::ArrayBase: a large array kept in fixed-size pages, so that a huge, mostly untouched array costs only
// the pages that were written. A page that was never made reads as the fill value. Pages come from the host's
// memory manager when the host has one at construction (and go back to that same manager), else from the
// module's own heap; the page table grows through kvoRealloc. Out of memory ends the process, as every
// foundation allocation does. An array belongs to one thread at a time.

#include <cstdint>
#include <cstring>

#include "framework/object/iptr.h"
#include "host_api/zel_memory_manager.h"

namespace ZelMM {

class ArrayBase {
 public:
  // Why a page is made, as the host's allocatePage is told.
  enum PageUse : int32_t { kForCopy = 0, kForValue = 1 };

  // count elements of elementSize bytes, rounded up to whole pages of 2^pageShift elements; no page is made.
  ArrayBase(int32_t elementSize, int32_t pageShift, int32_t count);
  ArrayBase(const ArrayBase&) = delete;
  ArrayBase& operator=(const ArrayBase&) = delete;
  ~ArrayBase();

  int32_t count() const { return count_; }
  int32_t pageLength() const { return pageLength_; }
  int32_t pageCount() const { return count_ / pageLength_; }
  int32_t pageShift() const { return pageShift_; }
  // The page, or null while it has not been made.
  void* page(int32_t index) const { return pages_[index]; }
  // The page, made (contents undefined) when missing.
  void* makePage(int32_t index, PageUse use);

  // Changes the count (rounded up to whole pages): pages beyond the new end are freed, new ones are missing.
  void resize(int32_t count);
  // Makes this array a copy of other, which has the same element size and page length: pages missing in other
  // are freed here, the others copied whole.
  void copyFrom(const ArrayBase& other);

 private:
  void freePage(int32_t index);
  // Grows the page table so that it holds at least slots entries.
  void reservePageSlots(int32_t slots);

  IPtr<IZelMManager> manager_;  // null: pages come from the module's heap
  int32_t count_ = 0;
  int32_t pageShift_;
  int32_t pageLength_;
  int32_t pageBytes_;
  void** pages_ = nullptr;
  int32_t used_ = 0;      // page-table slots in use
  int32_t capacity_ = 0;  // page-table slots allocated
};

// An ArrayBase of T, where Splitter names the page size (its kPageShift). New pages are filled with the fill
// value, and writing the fill value into a missing page makes none.
template <class T, class Splitter>
class Array : public ArrayBase {
 public:
  Array(int32_t count, T fill) : ArrayBase(sizeof(T), Splitter::kPageShift, count), fill_(fill) {}

  T get(int32_t i) const {
    const T* items = static_cast<const T*>(page(i >> pageShift()));
    return items ? items[i & (pageLength() - 1)] : fill_;
  }
  void set(int32_t i, T value) {
    T* items = static_cast<T*>(page(i >> pageShift()));
    if (!items) {
      if (value == fill_) return;
      items = makeFilledPage(i >> pageShift(), kForValue);
    }
    items[i & (pageLength() - 1)] = value;
  }
  T* makeFilledPage(int32_t index, PageUse use) {
    if (T* items = static_cast<T*>(page(index))) return items;
    T* items = static_cast<T*>(makePage(index, use));
    for (int32_t k = 0; k < pageLength(); ++k) items[k] = fill_;
    return items;
  }
  T fill() const { return fill_; }

 private:
  T fill_;
};

}  // namespace ZelMM
