#pragma once

// Objects by narrow name, each held with one reference: the properties of a material and the values of a
// property. Storing under a name that is already there replaces the object and gives up its reference. Names
// are copied into storage of their own, so a caller's text may go away afterwards. One owner, no lock.

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_hash_table.h"
#include "framework/object/iptr.h"

namespace Materials {

template <class T>
class NamedReferences {
 public:
  // The object of that name, or null; no reference is added.
  T* find(const ZelCString& name) const {
    const IPtr<T>* held = table_.find(name);
    return held ? held->get() : nullptr;
  }

  void set(const ZelCString& name, T* object) {
    ZelCString key = name;
    key.makeOwned();
    table_.set(key, IPtr<T>(object));
  }

 private:
  ZelHashTable<ZelCString, IPtr<T>> table_{ZelHashTable<ZelCString, IPtr<T>>::kDefaultBuckets};
};

}  // namespace Materials
