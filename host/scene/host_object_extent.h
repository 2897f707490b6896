#pragma once

// The stand-in host's object extent (the service "IObjectExtent"): the box of a document object's surface
// model. Main thread only.

#include "host/core/host_unknown.h"
#include "host_api/object_extent.h"

class HostObjectExtent : public IObjectExtent, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostObjectExtent";

  bool ownBox(IZelDocObject* object, double box[6]) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
