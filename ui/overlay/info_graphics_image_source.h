#pragma once

// The overlay's image of one tile, rendered by the host's tile markup renderer from the tile's control files
// and the shared resources, all in the folder "xaml" beside the host program, at the size of the current
// view. The renderer is made by its host class id, the one way every host offers it. Without the renderer or
// the view manager nothing is rendered; without the host's directories nothing is loaded.

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/gfx_view.h"
#include "host_api/xaml_image_renderer.h"
#include "ui/overlay/hard_probe_info_graphics.h"

class ZelCString;

class HardProbeInfoGraphicsImageSource : public HardProbeInfoGraphics::ImageSource, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeInfoGraphicsImageSource";
  static constexpr const char* kCommonResources = "HardProbeCommonResources.xaml";

  // controls: the tile's markup file names, separated by ",".
  explicit HardProbeInfoGraphicsImageSource(const ZelCString& controls);

  bool needsUpdate() override;
  bool render(IZelImage* image) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelXAMLImageRenderer> renderer_;
  IPtr<IGfxViewMgr> viewMgr_;
};
