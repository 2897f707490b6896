#pragma once

// A feature: a geometric element of the document (a point, plane, line, circle, ...) that a document object
// shows as one of its sub-objects. Every feature answers "IZelFeature" beside the interface of its kind
// ("IZelPoint", "IZelPlane", ...), which is how callers tell a feature from a plain value. The operations
// shared by every kind join this interface with the feature kinds that need them.

#include "host/api/zel_unknown.h"

class IZelFeature : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeature";
};
