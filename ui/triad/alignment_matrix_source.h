#pragma once

// Places the triad by the current hard-probe plug-in's device transform, read afresh each time the host
// draws; the identity without a plug-in manager or a current plug-in.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_matrix_nodes.h"
#include "ui/triad/device_csys_gfx.h"

class DeviceCSYSGfx::AlignmentMatrixSource : public IZelMatrixSource, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "DeviceCSYSGfx::AlignmentMatrixSource";

  void getMatrix(Matrix4x4& out) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
