#pragma once

// The stand-in host's object-size source: the uniform scaling by a factor of a document object's size, the
// largest side of the box of what it draws (its features) or else of its surface model. It keeps the
// object's id, not the object, so an object removed since makes it the identity. Main thread only.

#include "host/core/host_unknown.h"
#include "host_api/object_size_source.h"
#include "host_api/zel_doc.h"

class IGenGfxService;

class HostObjectSizeSource : public IObjectSizeSource, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostObjectSizeSource";

  // Both must outlive the source, as the host's own services do.
  HostObjectSizeSource(IZelDoc& document, IGenGfxService& gfx) : document_(document), gfx_(gfx) {}

  void setObject(IZelDocObject* object, double factor) override;
  void getMatrix(Matrix4x4& out) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  double objectSize(IZelDocObject& object);

  IZelDoc& document_;
  IGenGfxService& gfx_;
  int32_t objectId_ = 0;
  double factor_ = 1.0;
};
