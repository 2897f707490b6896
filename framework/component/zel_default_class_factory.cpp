#include "framework/component/zel_default_class_factory.h"

#include "basic_types/no_destructor.h"
#include "basic_types/prime_sizes.h"

namespace {
// The load at which the table grows to the next prime size.
constexpr double kMaximumLoad = 0.8;
}  // namespace

ZelDefaultClassFactory::Node* ZelDefaultClassFactory::find(const ZelID& id) const {
  if (buckets_.empty()) return nullptr;
  for (Node* node = buckets_[hashZelID(id) % bucketCount_]; node; node = node->next) {
    if (node->id == id) return node;
  }
  return nullptr;
}

uint32_t ZelDefaultClassFactory::createInstance(const ZelID* classId, IZelUnknown** out) {
  Node* node = find(*classId);
  if (!node) return 0;
  uint32_t status = 0;
  // Nothing a constructor throws may reach the host: the host learns of the failure from the null object.
  try {
    *out = node->itemFactory->create(&status);
  } catch (...) {
    *out = nullptr;
  }
  return status;
}

const char* ZelDefaultClassFactory::className(const ZelID* classId) {
  Node* node = find(*classId);
  return node ? node->itemFactory->className() : nullptr;
}

void ZelDefaultClassFactory::registerItemFactory(ZelItemFactory* item) {
  if (!item) return;
  if (Node* node = find(item->classId())) {
    node->itemFactory = item;
    return;
  }
  nodes_.push_back(Node{hashZelID(item->classId()) % bucketCount_, item->classId(), item, nullptr});
  insert(&nodes_.back());
}

void ZelDefaultClassFactory::insert(Node* node) {
  if (buckets_.empty()) buckets_.assign(bucketCount_, nullptr);
  node->next = buckets_[node->bucket];
  buckets_[node->bucket] = node;
  ++count_;
  if (static_cast<double>(count_) >= kMaximumLoad * static_cast<double>(bucketCount_))
    grow(nextPrime(bucketCount_));
}

void ZelDefaultClassFactory::grow(uint32_t buckets) {
  if (buckets == 0 || buckets == bucketCount_ || buckets_.empty()) return;
  std::vector<Node*> fresh(buckets, nullptr);
  for (Node* head : buckets_) {
    for (Node* node = head; node;) {
      Node* next = node->next;
      node->bucket = hashZelID(node->id) % buckets;
      node->next = fresh[node->bucket];
      fresh[node->bucket] = node;
      node = next;
    }
  }
  buckets_.swap(fresh);
  bucketCount_ = buckets;
}

ZelDefaultClassFactory::Node* ZelDefaultClassFactory::firstNodeFrom(uint32_t bucket) const {
  for (uint32_t b = bucket; b < buckets_.size(); ++b) {
    if (buckets_[b]) return buckets_[b];
  }
  return nullptr;
}

bool ZelDefaultClassFactory::firstId(ZelID* out) {
  cursor_ = Cursor{firstNodeFrom(0), true};
  if (!cursor_.current) return false;
  *out = cursor_.current->id;
  return true;
}

bool ZelDefaultClassFactory::nextId(ZelID* out) {
  if (!cursor_.active || !cursor_.current) return false;
  Node* left = cursor_.current;
  cursor_.current = left->next ? left->next : firstNodeFrom(left->bucket + 1);
  if (!cursor_.current) return false;
  *out = cursor_.current->id;
  return true;
}

ZelDefaultClassFactory* getClassFactory() {
  static NoDestructor<ZelDefaultClassFactory> factory;
  return factory.get();
}

void registerItemFactory(ZelDefaultClassFactory* factory, ZelItemFactory* item) {
  factory->registerItemFactory(item);
}
