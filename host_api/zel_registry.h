#pragma once

// The host's registry: class ids in their text form (ZelID::fromString) stored under paths such as
// "Features/Types/IZelPlane". The path forms both sides use are in registry_paths.h. Safe on any thread.

#include "host_api/zel_unknown.h"

class ZelCString;

namespace Corvane {

// A walk over the values of one registry folder, in the order they were registered. It lists the entries the
// folder held when the walk was made; later changes to the registry do not show in it. One thread at a time.
class IZelRegIter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelRegIter";

  // Goes back to the first entry (where a new walk starts).
  virtual void first() = 0;
  // Moves to the next entry; nothing once the walk is done.
  virtual void next() = 0;
  virtual bool isDone() = 0;
  // The class-id text of the current entry (owned by the walk, valid while it lives), or null once done.
  virtual const ZelCString* currentValue() = 0;
};

class IZelRegistry : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelRegistry";

  // The class-id text stored under exactly path (owned by the registry, valid while it lives), or null.
  virtual const ZelCString* lookup(const ZelCString* path) = 0;
  // A new walk over the values stored under path + "/" + a name (one level down; path has no trailing "/"),
  // never null. It carries no reference: the caller keeps it by assigning it to an IPtr.
  virtual IZelRegIter* entries(const ZelCString* path) = 0;
};

}  // namespace Corvane
