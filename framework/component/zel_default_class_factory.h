#pragma once

// The module's class registry: a chained hash table from class id to item factory. The static registrations
// fill it while the module loads, before EntryPoint can be called; afterwards it is only read, except for its
// one walk cursor, which callers walking from several threads must serialise themselves.

#include <cstdint>
#include <deque>
#include <vector>

#include "basic_types/zel_id.h"
#include "framework/component/item_factory.h"

class IZelClassFactory {
 public:
  virtual ~IZelClassFactory() = default;
  // 1 or 2 with *out set; 0 with *out untouched for an unknown id.
  virtual uint32_t createInstance(const ZelID* classId, IZelUnknown** out) = 0;
  virtual uint32_t count() = 0;
  virtual bool firstId(ZelID* out) = 0;
  virtual bool nextId(ZelID* out) = 0;
  virtual const char* className(const ZelID* classId) = 0;
};

class ZelDefaultClassFactory : public IZelClassFactory {
 public:
  // The bucket count a new registry starts with (the prime above 99).
  static constexpr uint32_t kInitialBuckets = 131;

  ZelDefaultClassFactory() = default;
  ZelDefaultClassFactory(const ZelDefaultClassFactory&) = delete;
  ZelDefaultClassFactory& operator=(const ZelDefaultClassFactory&) = delete;

  uint32_t createInstance(const ZelID* classId, IZelUnknown** out) override;
  uint32_t count() override { return count_; }
  bool firstId(ZelID* out) override;
  bool nextId(ZelID* out) override;
  const char* className(const ZelID* classId) override;

  // Enters the item under its class id; a second registration of an id replaces the first. Null is ignored.
  void registerItemFactory(ZelItemFactory* item);

  uint32_t bucketCount() const { return bucketCount_; }

 private:
  struct Node {
    uint32_t bucket;
    ZelID id;
    ZelItemFactory* itemFactory;
    Node* next;
  };
  struct Cursor {
    Node* current = nullptr;  // the node last reported, or null at the end
    bool active = false;
  };

  Node* find(const ZelID& id) const;
  void insert(Node* node);
  void grow(uint32_t buckets);
  Node* firstNodeFrom(uint32_t bucket) const;

  std::deque<Node> nodes_;      // owns every node; nodes are never removed
  std::vector<Node*> buckets_;  // chain heads; empty until the first insertion
  uint32_t bucketCount_ = kInitialBuckets;
  uint32_t count_ = 0;
  Cursor cursor_;
};

// The module's registry, made on first use.
ZelDefaultClassFactory* getClassFactory();
void registerItemFactory(ZelDefaultClassFactory* factory, ZelItemFactory* item);
