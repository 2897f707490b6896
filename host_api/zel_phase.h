#pragma once

// The phases of a document: every object belongs to one phase, and the user works in the current one. Kinds
// name groups of objects by their type, as the document's enumeration by kind takes them.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IZelDocObject;

class IPhaseService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IPhaseService";

  // The kind of the objects of a type ("Point": 1, "Curve": 2); 0, which names no objects, for any other.
  virtual int32_t kindByName(const char* typeName) = 0;
  // The phase new objects go into; 1 in a new document.
  virtual int32_t currentPhase() = 0;
  // False, changing nothing, for null or an object of another document.
  virtual bool putInPhase(IZelDocObject* object, int32_t phase) = 0;
};
