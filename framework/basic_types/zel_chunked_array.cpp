#include "basic_types/zel_chunked_array.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "framework/memory/kvo_alloc.h"

namespace {
// The largest page shift: a page of 2^30 records still has a 32-bit record count.
constexpr int32_t kLargestShift = 30;
}  // namespace

ZelChunkedArray::ZelChunkedArray(int32_t elementSize, int32_t shift)
    : elementSize_(std::max(elementSize, 1)), shift_(std::clamp(shift, 0, kLargestShift)) {}

int32_t ZelChunkedArray::recordsOnPage(int32_t p, int32_t count) const {
  int64_t first = static_cast<int64_t>(p) << shift_;
  return static_cast<int32_t>(std::min<int64_t>(pageLength(), count - first));
}

uint8_t* ZelChunkedArray::newZeroedPage(int32_t records) const {
  void* page = nullptr;
  kvoMalloc(&page, elementSize_, records);
  std::memset(page, 0, static_cast<size_t>(elementSize_) * records);
  return static_cast<uint8_t*>(page);
}

void ZelChunkedArray::reservePageSlots(int32_t pages) {
  if (pages <= slots_) return;
  int64_t doubled = std::max(slots_, 1);
  while (doubled < pages) doubled *= 2;
  void* table = pages_;
  slots_ = kvoRealloc(&table, sizeof(uint8_t*), slots_, pages,
                      static_cast<int32_t>(std::min<int64_t>(doubled, INT32_MAX)));
  pages_ = static_cast<uint8_t**>(table);
}

void ZelChunkedArray::createChunks(int32_t count) {
  freeChunks();
  if (count <= 0) return;
  reservePageSlots(pagesFor(count));
  for (int32_t p = 0; p < pagesFor(count); ++p) pages_[p] = newZeroedPage(recordsOnPage(p, count));
  count_ = count;
}

void ZelChunkedArray::growChunks(int32_t newCount) {
  if (newCount <= count_) return;
  int64_t grown = std::max(count_, 1);
  while (grown < newCount) grown *= 2;
  int64_t pageEnd = ((static_cast<int64_t>(newCount) >> shift_) + 1) << shift_;
  auto target = static_cast<int32_t>(std::min<int64_t>({grown, pageEnd, INT32_MAX}));

  int32_t oldPages = pageCount();
  reservePageSlots(pagesFor(target));
  if (int32_t partial = count_ & (pageLength() - 1)) {
    void* page = pages_[oldPages - 1];
    kvoRealloc(&page, elementSize_, partial, recordsOnPage(oldPages - 1, target), -1);
    pages_[oldPages - 1] = static_cast<uint8_t*>(page);
  }
  for (int32_t p = oldPages; p < pagesFor(target); ++p) pages_[p] = newZeroedPage(recordsOnPage(p, target));
  count_ = target;
}

void ZelChunkedArray::freeChunks() {
  for (int32_t p = 0; p < pageCount(); ++p) kvoFree(pages_[p]);
  kvoFree(pages_);
  pages_ = nullptr;
  slots_ = 0;
  count_ = 0;
}
