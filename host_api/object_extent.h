#pragma once

// The host's service "IObjectExtent": how far a document object's model reaches, for judging what a move of
// the part does at its far ends. Main thread only.

#include "host_api/zel_unknown.h"

class IZelDocObject;

class IObjectExtent : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IObjectExtent";

  // The box {min x, y, z, max x, y, z} of the object's model in the object's own coordinates. False, with box
  // untouched, for a null object or one without a model.
  virtual bool ownBox(IZelDocObject* object, double box[6]) = 0;
};
