#include "framework/memory/paged_array.h"

#include <algorithm>
#include <climits>

#include "framework/memory/kvo_alloc.h"
#include "framework/memory/memory_manager.h"
#include "framework/memory/out_of_memory.h"

namespace ZelMM {
namespace {

// Below this many slots the page table grows one slot at a time, above it by 40%.
constexpr int32_t kSmallTable = 3;

}  // namespace

ArrayBase::ArrayBase(int32_t elementSize, int32_t pageShift, int32_t count)
    : manager_(getMemoryManager()),
      pageShift_(pageShift),
      pageLength_(1 << pageShift),
      pageBytes_(elementSize << pageShift) {
  resize(count);
}

ArrayBase::~ArrayBase() {
  for (int32_t p = 0; p < used_; ++p) freePage(p);
  kvoFree(pages_);
}

void* ArrayBase::makePage(int32_t index, PageUse use) {
  if (pages_[index]) return pages_[index];
  void* made = nullptr;
  if (manager_) {
    made = manager_->allocatePage(static_cast<uint64_t>(pageBytes_), use);
    if (!made) memoryExhausted(static_cast<uint64_t>(pageBytes_), -4);
  } else {
    kvoMalloc(&made, pageBytes_, 1);
  }
  pages_[index] = made;
  return made;
}

void ArrayBase::freePage(int32_t index) {
  void* page = pages_[index];
  if (!page) return;
  pages_[index] = nullptr;
  if (manager_) {
    manager_->freePage(page);
  } else {
    kvoFree(page);
  }
}

void ArrayBase::reservePageSlots(int32_t slots) {
  if (slots <= capacity_) return;
  int64_t capacity = capacity_;
  while (capacity < slots) capacity += capacity < kSmallTable ? 1 : capacity * 2 / 5;
  void* table = pages_;
  int32_t old = capacity_;
  capacity_ = kvoRealloc(&table, sizeof(void*), capacity_, static_cast<int32_t>(capacity), -1);
  pages_ = static_cast<void**>(table);
  for (int32_t p = old; p < capacity_; ++p) pages_[p] = nullptr;
}

void ArrayBase::resize(int32_t count) {
  int64_t pages = (static_cast<int64_t>(count < 0 ? 0 : count) + pageLength_ - 1) >> pageShift_;
  // The count must stay a 32-bit number of elements.
  auto slots = static_cast<int32_t>(std::min<int64_t>(pages, INT32_MAX >> pageShift_));
  reservePageSlots(slots);
  for (int32_t p = slots; p < used_; ++p) freePage(p);
  used_ = slots;
  count_ = slots << pageShift_;
}

void ArrayBase::copyFrom(const ArrayBase& other) {
  if (this == &other) return;
  resize(other.count_);
  for (int32_t p = 0; p < used_; ++p) {
    if (!other.pages_[p]) {
      freePage(p);
      continue;
    }
    std::memcpy(makePage(p, kForCopy), other.pages_[p], pageBytes_);
  }
}

}  // namespace ZelMM
