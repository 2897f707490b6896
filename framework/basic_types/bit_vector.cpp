#include "basic_types/bit_vector.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

#include "framework/memory/kvo_alloc.h"
#include "framework/memory/paged_array.h"
#include "framework/object/query_chain.h"

namespace {

// The smallest storage: one word.
constexpr int32_t kMinimumMaxBit = 31;
// A new vector of this many words or more starts paged.
constexpr int32_t kPagedAtConstruction = 4096;
// A flat vector growing to this many words or more becomes paged.
constexpr int32_t kPagedWhenGrowing = 4097;
// A paged vector shrinking below this many words becomes flat.
constexpr int32_t kFlatWhenShrinking = 1536;
// A flat vector never takes more words than this in one growth step.
constexpr int32_t kFlatGrowthLimit = 6144;
constexpr uint32_t kAllBits = ~0u;

int32_t wordsFor(int32_t bit) {
  return (bit >> 5) + 1;
}

// The bits of word w that lie in the range 1 to n.
uint32_t firstBitsOfWord(int32_t w, int32_t n) {
  int64_t low = static_cast<int64_t>(w) * 32;
  uint32_t bits = low > n ? 0u : low + 31 <= n ? kAllBits : (1u << (n - low + 1)) - 1;
  return w == 0 ? bits & ~1u : bits;
}

uint32_t* newFlatWords(int32_t words) {
  void* block = nullptr;
  kvoMalloc(&block, sizeof(uint32_t), words);
  std::memset(block, 0, sizeof(uint32_t) * words);
  return static_cast<uint32_t*>(block);
}

}  // namespace

BitVector::BitVector(int32_t nbits) {
  int32_t words = nbits < 0 ? 1 : wordsFor(nbits);
  if (words < kPagedAtConstruction) {
    bvwords_ = newFlatWords(words);
  } else {
    bvwordsLarge_ = std::make_unique<WordPages>(words, 0u);
    words = bvwordsLarge_->count();
  }
  setMaxBitFromWords(words);
}

BitVector::~BitVector() {
  kvoFree(bvwords_);
}

void BitVector::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}

void BitVector::setMaxBitFromWords(int32_t words) {
  maxBit_ = static_cast<int32_t>(static_cast<int64_t>(words) * 32 - 1);
}

uint32_t BitVector::word(int32_t w) const {
  return bvwords_ ? bvwords_[w] : bvwordsLarge_->get(w);
}

void BitVector::setWord(int32_t w, uint32_t value) {
  if (w < 0 || w >= wordCount()) return;
  if (bvwords_) {
    bvwords_[w] = value;
  } else {
    bvwordsLarge_->set(w, value);
  }
}

int32_t BitVector::nextStoredWord(int32_t w) const {
  if (bvwords_) return w;
  int32_t shift = BitVectorSplitter::kPageShift;
  for (int32_t p = w >> shift; p < bvwordsLarge_->pageCount(); ++p) {
    if (bvwordsLarge_->page(p)) return std::max(w, p << shift);
  }
  return wordCount();
}

int32_t BitVector::previousStoredWord(int32_t w) const {
  if (bvwords_) return w;
  int32_t shift = BitVectorSplitter::kPageShift;
  for (int32_t p = w >> shift; p >= 0; --p) {
    if (bvwordsLarge_->page(p)) return std::min(w, ((p + 1) << shift) - 1);
  }
  return -1;
}

bool BitVector::test(int32_t i) const {
  if (i < 0 || i > maxBit_) return false;
  return (word(i >> 5) >> (i & 31)) & 1u;
}

bool BitVector::set(int32_t i) {
  if (i < 0) return false;
  if (i > maxBit_) resize(i);
  uint32_t old = word(i >> 5);
  uint32_t bit = 1u << (i & 31);
  if (old & bit) return true;
  setWord(i >> 5, old | bit);
  if (bitCount_ != kUnknownCount) ++bitCount_;
  return true;
}

bool BitVector::clear(int32_t i) {
  if (i < 0) return false;
  if (i > maxBit_) return true;
  uint32_t old = word(i >> 5);
  uint32_t bit = 1u << (i & 31);
  if (!(old & bit)) return true;
  setWord(i >> 5, old & ~bit);
  if (bitCount_ != kUnknownCount) --bitCount_;
  return true;
}

uint32_t BitVector::count() {
  uint32_t total = 0;
  for (int32_t w = nextStoredWord(0); w < wordCount(); w = nextStoredWord(w + 1))
    total += std::popcount(word(w));
  bitCount_ = total;
  return total;
}

void BitVector::clearAll() {
  if (bitCount_ == 0) return;
  if (bvwords_) {
    std::memset(bvwords_, 0, sizeof(uint32_t) * wordCount());
  } else {
    for (int32_t p = 0; p < bvwordsLarge_->pageCount(); ++p) {
      if (void* page = bvwordsLarge_->page(p))
        std::memset(page, 0, sizeof(uint32_t) * bvwordsLarge_->pageLength());
    }
  }
  bitCount_ = 0;
}

void BitVector::setAll() {
  for (int32_t w = 0; w < wordCount(); ++w) setWord(w, kAllBits);
  setWord(0, kAllBits & ~1u);
  bitCount_ = static_cast<uint32_t>(maxBit_);
}

void BitVector::setFirst(int32_t n) {
  n = std::max(n, 0);
  resize(n);
  for (int32_t w = 0; w < wordCount(); ++w) setWord(w, firstBitsOfWord(w, n));
  bitCount_ = static_cast<uint32_t>(n);
}

int32_t BitVector::grownCapacity(int32_t target) const {
  // Doubling in 64 bits: the capacity stops at the largest bit index a 32-bit count can name.
  int64_t capacity = maxBit_;
  while (capacity <= target) capacity *= 2;
  return static_cast<int32_t>(std::min<int64_t>(capacity, INT32_MAX));
}

void BitVector::resize(int32_t n) {
  int32_t target = std::max(n, kMinimumMaxBit);
  if (target == maxBit_) return;
  int32_t capacityWords = wordsFor(target < maxBit_ ? target : grownCapacity(target));
  int32_t needed = wordsFor(target);
  int32_t current = wordCount();
  if (needed == current) return;
  if (needed < current) bitCount_ = kUnknownCount;

  int32_t words = 0;
  if (bvwordsLarge_ && needed < kFlatWhenShrinking) {
    words = toFlat(needed);
  } else if (bvwords_ && needed >= kPagedWhenGrowing) {
    words = toPaged(capacityWords);
  } else if (bvwords_) {
    void* block = bvwords_;
    words = kvoRealloc(&block, sizeof(uint32_t), current, needed, std::min(capacityWords, kFlatGrowthLimit));
    bvwords_ = static_cast<uint32_t*>(block);
  } else {
    bvwordsLarge_->resize(needed < current ? needed : capacityWords);
    words = bvwordsLarge_->count();
  }
  setMaxBitFromWords(words);
}

int32_t BitVector::toFlat(int32_t words) {
  uint32_t* flat = newFlatWords(words);
  for (int32_t w = 0; w < words; ++w) flat[w] = bvwordsLarge_->get(w);
  bvwordsLarge_.reset();
  bvwords_ = flat;
  return words;
}

int32_t BitVector::toPaged(int32_t words) {
  auto paged = std::make_unique<WordPages>(words, 0u);
  for (int32_t w = 0; w < wordCount(); ++w) paged->set(w, bvwords_[w]);
  kvoFree(bvwords_);
  bvwords_ = nullptr;
  bvwordsLarge_ = std::move(paged);
  return bvwordsLarge_->count();
}

int32_t BitVector::findNext(int32_t i) const {
  if (i >= maxBit_) return -1;
  int32_t start = std::max(i + 1, 0);
  uint32_t mask = kAllBits << (start & 31);
  for (int32_t w = start >> 5; (w = nextStoredWord(w)) < wordCount(); ++w, mask = kAllBits) {
    if (w > start >> 5) mask = kAllBits;
    if (uint32_t bits = word(w) & mask) return w * 32 + std::countr_zero(bits);
  }
  return -1;
}

int32_t BitVector::findPrevious(int32_t i) const {
  if (i < 1) return -1;
  int32_t last = std::min(i - 1, maxBit_);
  uint32_t mask = kAllBits >> (31 - (last & 31));
  for (int32_t w = last >> 5; (w = previousStoredWord(w)) >= 0; --w, mask = kAllBits) {
    if (w < last >> 5) mask = kAllBits;
    if (uint32_t bits = word(w) & mask) return w * 32 + 31 - std::countl_zero(bits);
  }
  return -1;
}

void BitVector::subtract(const BitVector& other) {
  if (bitCount_ == 0 || other.bitCount_ == 0) return;
  int32_t shared = std::min(wordCount(), other.wordCount());
  for (int32_t w = other.nextStoredWord(0); w < shared; w = other.nextStoredWord(w + 1)) {
    uint32_t mine = word(w);
    uint32_t theirs = other.word(w);
    if (mine & theirs) setWord(w, mine & ~theirs);
  }
  bitCount_ = kUnknownCount;
}

BitVector& BitVector::operator|=(const BitVector& other) {
  if (other.bitCount_ == 0) return *this;
  if (other.wordCount() > wordCount()) {
    int32_t top = other.previousStoredWord(other.wordCount() - 1);
    while (top >= wordCount() && other.word(top) == 0) top = other.previousStoredWord(top - 1);
    if (top >= wordCount()) resize(top * 32 + 31);
  }
  bitCount_ = kUnknownCount;
  int32_t shared = std::min(wordCount(), other.wordCount());
  for (int32_t w = other.nextStoredWord(0); w < shared; w = other.nextStoredWord(w + 1)) {
    uint32_t mine = word(w);
    uint32_t joined = mine | other.word(w);
    if (joined != mine) setWord(w, joined);
  }
  return *this;
}

BitVector& BitVector::operator=(const BitVector& other) {
  if (this == &other) return *this;
  if (other.bvwordsLarge_) {
    kvoFree(bvwords_);
    bvwords_ = nullptr;
    if (!bvwordsLarge_) bvwordsLarge_ = std::make_unique<WordPages>(0, 0u);
    bvwordsLarge_->copyFrom(*other.bvwordsLarge_);
    maxBit_ = other.maxBit_;
  } else {
    assignFlat(other);
  }
  bitCount_ = other.bitCount_;
  return *this;
}

void BitVector::assignFlat(const BitVector& other) {
  bvwordsLarge_.reset();
  int32_t theirs = other.wordCount();
  if (bvwords_ && theirs <= wordCount()) {
    if (bitCount_ != 0) std::memset(bvwords_ + theirs, 0, sizeof(uint32_t) * (wordCount() - theirs));
  } else {
    kvoFree(bvwords_);
    bvwords_ = newFlatWords(theirs);
    maxBit_ = other.maxBit_;
  }
  std::memcpy(bvwords_, other.bvwords_, sizeof(uint32_t) * theirs);
}
