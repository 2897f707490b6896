#pragma once

// BitVector: a set of small non-negative integers (point selections, feature statistics, point states). Bit i
// lives in word i >> 5 at bit i & 31. The words sit in one flat array while the vector is small and in pages
// of 2048 words once it grows large, so that a huge, mostly empty selection costs only the pages holding set
// bits. The two thresholds differ (paged from 4097 words on when growing, flat again below 1536, paged from
// 4096 at construction), so a vector hovering around one size does not convert back and forth.
//
// Bits are numbered from 0, but the range fillers setAll and setFirst start at bit 1: callers number their
// items from 1. The number of set bits is tracked while it is known, so an empty selection is cheap to see.
// Reference counted like every object; one thread at a time, no lock. Growth that cannot be had ends the
// process, as every foundation allocation does.

#include <cstdint>
#include <memory>

#include "framework/object/zel_unknown_impl.h"

struct BitVectorSplitter {
  static constexpr int32_t kPageShift = 11;
};

namespace ZelMM {
template <class T, class Splitter>
class Array;
}

class BitVector : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "BitVector";
  // The value of knownCount while the number of set bits is not known.
  static constexpr uint32_t kUnknownCount = ~0u;

  // Room for bits 0 to nbits at least (one word for a negative nbits); no bit set.
  explicit BitVector(int32_t nbits);
  BitVector(const BitVector&) = delete;
  BitVector& operator=(const BitVector& other);
  ~BitVector() override;

  // False for an index outside the storage (negative or above maxBit).
  bool test(int32_t i) const;
  // Grows to hold i first. Answers false, touching nothing, for a negative index.
  bool set(int32_t i);
  // Nothing for an index outside the storage; false for a negative one.
  bool clear(int32_t i);
  // Stores a whole word; in the paged form a zero word makes no page.
  void setWord(int32_t w, uint32_t value);
  // Recounts the set bits, remembers and answers the number.
  uint32_t count();
  // Every bit clear; the size is kept (in the paged form no page is freed).
  void clearAll();
  // Bits 1 to maxBit set, bit 0 clear. In the paged form every page is made.
  void setAll();
  // Room for bit n (a negative n taken as 0), bits 1 to n set, all others clear.
  void setFirst(int32_t n);
  // Storage for bits 0 to n at least 31: growing doubles maxBit until it exceeds n, shrinking keeps exactly
  // the words bit n needs. Bits in the kept words stay as they are.
  void resize(int32_t n);
  // The smallest set bit above i (i = -1 starts at bit 0), or -1 when there is none.
  int32_t findNext(int32_t i) const;
  // The greatest set bit below i, or -1 when there is none or i < 1.
  int32_t findPrevious(int32_t i) const;
  // Clears every bit set in other, over the words both hold.
  void subtract(const BitVector& other);
  // The union; grows to hold other's highest set bit.
  BitVector& operator|=(const BitVector& other);

  // The highest bit index the storage holds: words × 32 − 1.
  int32_t maxBit() const { return maxBit_; }
  bool isPaged() const { return bvwordsLarge_ != nullptr; }
  // The remembered number of set bits, or kUnknownCount.
  uint32_t knownCount() const { return bitCount_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  using WordPages = ZelMM::Array<uint32_t, BitVectorSplitter>;

  int32_t wordCount() const { return (maxBit_ >> 5) + 1; }
  uint32_t word(int32_t w) const;
  // w itself when its word is stored, else the first word of the next stored page (or the word count).
  int32_t nextStoredWord(int32_t w) const;
  // The last word at or below w whose page is stored, or -1.
  int32_t previousStoredWord(int32_t w) const;
  int32_t grownCapacity(int32_t target) const;
  int32_t toFlat(int32_t words);
  int32_t toPaged(int32_t words);
  void setMaxBitFromWords(int32_t words);
  void assignFlat(const BitVector& other);

  uint32_t* bvwords_ = nullptr;              // the flat words, or null while paged
  std::unique_ptr<WordPages> bvwordsLarge_;  // the paged words, or null while flat
  int32_t maxBit_ = 31;
  // The number of set bits, or kUnknownCount. Named apart from the reference count of the object model.
  uint32_t bitCount_ = 0;
};
