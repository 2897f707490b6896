#pragma once

// ZelArray<T>: the foundation's growable array. It grows on access: at(i) past the end doubles the capacity
// (from 1) until slot i exists. Plain items (trivially copyable) live in one block from kvoRealloc, which
// zeroes the slots gained by growing an existing block and may settle for less than the doubled size under
// memory pressure; other items (strings, records of strings) are default-constructed and copied over by
// assignment.
//
// ZelCountedArray<T> adds a count and keeps its items in slots 1 to count; slot 0 is never used. Neither has
// a lock: an array belongs to one thread at a time.

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "framework/memory/kvo_alloc.h"

template <class T>
class ZelArray {
 public:
  static constexpr bool kPlain =
      std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>;

  ZelArray() = default;
  // An array with the given number of slots, all zero (plain) or default (other items).
  explicit ZelArray(int32_t slots) { grow(slots, slots, true); }
  ZelArray(const ZelArray&) = delete;
  ZelArray& operator=(const ZelArray&) = delete;
  ~ZelArray() { freeItems(); }

  // Slot i, growing the array first when i is at or past the capacity. Never changes a count.
  T& at(int32_t i) {
    if (i >= capacity_) growFor(i);
    return items_[i];
  }
  const T& operator[](int32_t i) const { return items_[i]; }
  T& operator[](int32_t i) { return items_[i]; }

  int32_t capacity() const { return capacity_; }
  T* items() { return items_; }

  // Resizes the array to capacity slots, or to minimum when capacity is below it; the first
  // min(old, new capacity) items stay. Plain items may settle for fewer slots, never below minimum, under
  // memory pressure; other items get exactly that many, the new ones default.
  void reserve(int32_t minimum, int32_t capacity) { grow(minimum, capacity, false); }

 private:
  void growFor(int32_t index) {
    int32_t doubled = capacity_ > 0 ? capacity_ : 1;
    while (doubled <= index) doubled = doubled > INT32_MAX / 2 ? INT32_MAX : doubled * 2;
    grow(index + 1, doubled, false);
  }

  void grow(int32_t minimum, int32_t target, bool zeroFirstBlock) {
    if (target < minimum) target = minimum;
    if constexpr (kPlain) {
      void* block = items_;
      bool first = items_ == nullptr || capacity_ == 0;
      capacity_ = kvoRealloc(&block, static_cast<int32_t>(sizeof(T)), capacity_, minimum, target);
      items_ = static_cast<T*>(block);
      if (first && zeroFirstBlock && items_)
        std::memset(static_cast<void*>(items_), 0, sizeof(T) * capacity_);
    } else {
      T* fresh = new T[target]();
      for (int32_t k = 0; k < capacity_ && k < target; ++k) fresh[k] = std::move(items_[k]);
      delete[] items_;
      items_ = fresh;
      capacity_ = target;
    }
  }

  void freeItems() {
    if constexpr (kPlain) {
      kvoFree(items_);
    } else {
      delete[] items_;
    }
    items_ = nullptr;
    capacity_ = 0;
  }

  int32_t capacity_ = 0;
  T* items_ = nullptr;
};

template <class T>
class ZelCountedArray : public ZelArray<T> {
 public:
  // The number of items an array is made for: one slot more, since slot 0 holds none.
  struct ItemCount {
    int32_t items;
  };

  ZelCountedArray() = default;
  explicit ZelCountedArray(int32_t slots) : ZelArray<T>(slots) {}
  // Room for items 1 to n, all zero or default, count 0.
  explicit ZelCountedArray(ItemCount n) : ZelArray<T>(n.items + 1) {}

  int32_t count() const { return count_; }
  // Forgets the items past count without destroying them; later appends overwrite their slots.
  void setCount(int32_t count) { count_ = count; }

  // Makes room for one more item and answers its slot (index count after the call).
  T& appendSlot() { return this->at(++count_); }
  void append(const T& item) { appendSlot() = item; }
  T popBack() { return std::move((*this)[count_--]); }
  // Moves items i + 1 to count one slot down, then drops the last.
  void removeAt(int32_t i) {
    for (int32_t k = i; k < count_; ++k) (*this)[k] = (*this)[k + 1];
    popBack();
  }

 private:
  int32_t count_ = 0;
};
