#pragma once

// ZelHashTable: the foundation's chained hash table with prime bucket counts (17 unless asked otherwise). A
// new entry goes to the head of its chain; the bucket array is made at the first insertion; when the count
// reaches 0.8 times the bucket count the table grows to the next prime of the foundation's table (nextPrime).
// Keys are hashed and compared by ZelHashKey<Key>:
//   - narrow text (ZelCString): djb2 over the bytes taken as signed characters (seed 5381, h × 33 + c); a
//   null
//     key hashes to 0 and equals only a null key. Keys and values are stored as ZelCString copies, so a key
//     that borrows a literal borrows it again.
//   - 32-bit integers: the key is its own hash.
// Iteration runs in bucket order, each chain from its head. A table belongs to one thread at a time or to an
// owner that locks around it. Allocation failures throw std::bad_alloc, as the standard containers do.

#include <cstdint>
#include <memory>
#include <utility>

#include "basic_types/prime_sizes.h"
#include "basic_types/zel_cstring.h"

// djb2 over the bytes of a narrow text, each taken as a signed character: seed 5381, then h × 33 + c in
// unsigned 32-bit arithmetic. A null text hashes to 0.
uint32_t hashNarrowText(const char* text);
// Byte-for-byte equality of two narrow texts; a null text equals only a null text.
bool sameNarrowText(const char* a, const char* b);

template <class Key>
struct ZelHashKey;

template <>
struct ZelHashKey<ZelCString> {
  static uint32_t hash(const ZelCString& key) { return hashNarrowText(key.data()); }
  static bool equal(const ZelCString& a, const ZelCString& b) { return sameNarrowText(a.data(), b.data()); }
};

template <>
struct ZelHashKey<int32_t> {
  static uint32_t hash(int32_t key) { return static_cast<uint32_t>(key); }
  static bool equal(int32_t a, int32_t b) { return a == b; }
};

template <>
struct ZelHashKey<uint32_t> {
  static uint32_t hash(uint32_t key) { return key; }
  static bool equal(uint32_t a, uint32_t b) { return a == b; }
};

template <class Key, class Value, class Traits = ZelHashKey<Key>>
class ZelHashTable {
 public:
  static constexpr uint32_t kDefaultBuckets = 17;
  // The table grows when its count reaches this fraction of its bucket count.
  static constexpr double kGrowthLoad = 0.8;

  // A bucket count of 0 is taken as 1.
  explicit ZelHashTable(uint32_t bucketCount = kDefaultBuckets)
      : bucketCount_(bucketCount ? bucketCount : 1) {}
  ZelHashTable(const ZelHashTable&) = delete;
  ZelHashTable& operator=(const ZelHashTable&) = delete;
  ~ZelHashTable() { clear(); }

  // Inserts the pair, or assigns the value of the key already present (the count then stays).
  void set(const Key& key, const Value& value) {
    uint32_t hash = Traits::hash(key);
    if (Node* node = findNode(key, hash)) {
      node->value = value;
      return;
    }
    insert(std::make_unique<Node>(hash, key, value));
  }

  // The key's value, or null.
  Value* find(const Key& key) {
    Node* node = findNode(key, Traits::hash(key));
    return node ? &node->value : nullptr;
  }
  const Value* find(const Key& key) const { return const_cast<ZelHashTable*>(this)->find(key); }

  // The key's value, inserted as value when the key is missing.
  Value& findOrInsert(const Key& key, const Value& value) {
    uint32_t hash = Traits::hash(key);
    if (Node* node = findNode(key, hash)) return node->value;
    Node& made = *insert(std::make_unique<Node>(hash, key, value));
    return made.value;
  }

  // Removes the key's entry; false when there was none.
  bool erase(const Key& key) {
    if (!buckets_) return false;
    uint32_t hash = Traits::hash(key);
    for (std::unique_ptr<Node>* link = &buckets_[hash % bucketCount_]; *link; link = &(*link)->next) {
      if ((*link)->hash == hash && Traits::equal((*link)->key, key)) {
        *link = std::move((*link)->next);
        --count_;
        return true;
      }
    }
    return false;
  }

  // Spreads the entries over size buckets; nothing for 0, for the current size, or before the first
  // insertion.
  void rehash(uint32_t size) {
    if (size == 0 || size == bucketCount_ || !buckets_) return;
    auto old = std::move(buckets_);
    uint32_t oldCount = bucketCount_;
    buckets_ = std::make_unique<std::unique_ptr<Node>[]>(size);
    bucketCount_ = size;
    for (uint32_t b = 0; b < oldCount; ++b) {
      while (std::unique_ptr<Node> node = std::move(old[b])) {
        old[b] = std::move(node->next);
        link(std::move(node));
      }
    }
  }

  // Frees every entry and the bucket array; the bucket count stays for the next insertion.
  void clear() {
    if (!buckets_) return;
    // One node at a time: a long chain must not unwind recursively.
    for (uint32_t b = 0; b < bucketCount_; ++b) {
      while (buckets_[b]) buckets_[b] = std::move(buckets_[b]->next);
    }
    buckets_.reset();
    count_ = 0;
  }

  // Calls visit(key, value) for every entry, in bucket order. The table must not change meanwhile.
  template <class Visit>
  void forEach(Visit&& visit) {
    for (uint32_t b = 0; buckets_ && b < bucketCount_; ++b) {
      for (Node* node = buckets_[b].get(); node; node = node->next.get())
        visit(std::as_const(node->key), node->value);
    }
  }

  uint32_t count() const { return count_; }
  uint32_t bucketCount() const { return bucketCount_; }

 private:
  struct Node {
    Node(uint32_t h, const Key& k, const Value& v) : hash(h), key(k), value(v) {}
    uint32_t hash;
    Key key;
    Value value;
    std::unique_ptr<Node> next;
  };

  Node* findNode(const Key& key, uint32_t hash) const {
    if (!buckets_) return nullptr;
    for (Node* node = buckets_[hash % bucketCount_].get(); node; node = node->next.get()) {
      if (node->hash == hash && Traits::equal(node->key, key)) return node;
    }
    return nullptr;
  }

  Node* link(std::unique_ptr<Node> node) {
    std::unique_ptr<Node>& head = buckets_[node->hash % bucketCount_];
    node->next = std::move(head);
    head = std::move(node);
    return head.get();
  }

  Node* insert(std::unique_ptr<Node> node) {
    if (!buckets_) buckets_ = std::make_unique<std::unique_ptr<Node>[]>(bucketCount_);
    Node* inserted = link(std::move(node));
    ++count_;
    if (static_cast<double>(count_) >= kGrowthLoad * static_cast<double>(bucketCount_)) {
      rehash(nextPrime(bucketCount_));
    }
    return inserted;
  }

  std::unique_ptr<std::unique_ptr<Node>[]> buckets_;  // null until the first insertion
  uint32_t bucketCount_;
  uint32_t count_ = 0;
};
