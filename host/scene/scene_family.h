#pragma once

// The host's scene: the default callback object and the view that calls it, the renderer, the node factory
// the graphics service and the shape factory, with fresh mouse and key data, pickers, vertex arrays, theme
// material sources, line arrows, object-size sources, the selectors of the view's rubber band; the view
// themes and camera animation; the host's own commands run by name ("GenResetViewCmd").

#include <memory>

#include "framework/object/iptr.h"
#include "host/core/service_family.h"
#include "host/scene/host_callback_object.h"
#include "host/scene/host_command_service.h"
#include "host/scene/host_gen_gfx_service.h"
#include "host/scene/host_gfx_renderer.h"
#include "host/scene/host_gfx_view.h"
#include "host/scene/host_node_factory.h"
#include "host/scene/host_object_extent.h"
#include "host/scene/host_probe_gfx.h"
#include "host/scene/host_selector.h"
#include "host/scene/host_shape_factory.h"
#include "host/scene/host_view_theme.h"

class SceneFamily : public ServiceFamily {
 public:
  // The graphics service finds objects by id in document, which must outlive the family.
  explicit SceneFamily(IZelDoc& document);

  HostCallbackObject& callbacks() { return *callbacks_; }
  HostGfxViewMgr& view() { return *view_; }
  HostGfxRenderer& renderer() { return *renderer_; }
  HostNodeFactory& nodeFactory() { return *nodeFactory_; }
  HostGenGfxService& genGfx() { return *genGfx_; }
  HostPalperaGfxUtil& probeGfx() { return *probeGfx_; }
  HostShapeFactory& shapes() { return *shapes_; }
  HostViewTheme& viewThemes() { return *viewThemes_; }
  HostCommandService& commands() { return *commands_; }

  std::vector<SharedService> sharedServices() const override;
  std::vector<HostClass> hostClasses() const override;

 private:
  IZelDoc& document_;
  IPtr<HostCallbackObject> callbacks_;
  IPtr<HostGfxViewMgr> view_;
  IPtr<HostGfxRenderer> renderer_;
  IPtr<HostNodeFactory> nodeFactory_;
  IPtr<HostGenGfxService> genGfx_;
  IPtr<HostPalperaGfxUtil> probeGfx_;
  std::unique_ptr<HostRubberBand> band_ = std::make_unique<HostRubberBand>();
  IPtr<HostShapeFactory> shapes_;
  IPtr<HostViewTheme> viewThemes_;
  IPtr<HostCommandService> commands_;
  IPtr<HostObjectExtent> extent_;
};
