#pragma once

// Lets the overlay be drawn in one view of the host's layout: every view of a single-view layout, otherwise
// the one view its layout mode names; none in a layout it does not know.

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/gfx_view.h"
#include "host_api/zel_scene_node.h"
#include "ui/overlay/hard_probe_info_graphics.h"

class HardProbeInfoGraphics::SingleFrameVisibilitySource : public IZelVisibilitySource,
                                                           public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeInfoGraphics::SingleFrameVisibilitySource";

  SingleFrameVisibilitySource();

  bool isVisible() override;
  bool isPickable() override { return false; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IGfxViewMgr> viewMgr_;
};
