#pragma once

// A matrix source that scales by a share of a document object's size, so that markers drawn in unit sizes
// keep their proportion to the model whatever its units. A fresh one per creation by the host's class id
// (kHostObjectSizeSourceClassId) or by its interface name. Main thread only.

#include "host_api/zel_matrix_nodes.h"

class IZelDocObject;

class IObjectSizeSource : public virtual IZelMatrixSource {
 public:
  static constexpr const char* interfaceName = "IObjectSizeSource";

  // The transform becomes the uniform scaling by factor times the object's size (the largest side of its
  // box); the identity while no object with a size is set. The source does not keep the object alive.
  virtual void setObject(IZelDocObject* object, double factor) = 0;
};
