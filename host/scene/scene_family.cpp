#include "host/scene/scene_family.h"

#include "host/api/host_class_ids.h"
#include "host/scene/host_alignment_widgets.h"
#include "host/scene/host_pick_on_model.h"
#include "host/scene/host_style_nodes.h"
#include "host/scene/host_vector_input.h"
#include "host/scene/host_vertex_array.h"
#include "host/scene/host_view_input.h"

SceneFamily::SceneFamily(IZelDoc& document)
    : callbacks_(new HostCallbackObject),
      view_(new HostGfxViewMgr(callbacks_.get())),
      renderer_(new HostGfxRenderer),
      nodeFactory_(new HostNodeFactory),
      genGfx_(new HostGenGfxService(document)),
      probeGfx_(new HostPalperaGfxUtil),
      shapes_(new HostShapeFactory),
      themes_(new HostGuiThemes) {}

std::vector<ServiceFamily::SharedService> SceneFamily::sharedServices() const {
  return {
      {ICallbackObject::interfaceName, callbacks_.get()},
      {IGfxViewMgr::interfaceName, view_.get()},
      {IGfxRenderer::interfaceName, renderer_.get()},
      {IZelNodeFactory::interfaceName, nodeFactory_.get()},
      {IGenGfxService::interfaceName, genGfx_.get()},
      {IGfxPalperaGfxUtil::interfaceName, probeGfx_.get()},
      {IZelShapeFactory::interfaceName, shapes_.get()},
      {IGuiThemes::interfaceName, themes_.get()},
  };
}

std::vector<ServiceFamily::HostClass> SceneFamily::hostClasses() const {
  return {
      hostClassOf<HostMouseData>(kHostMouseDataClassId, {IZelMouseData::interfaceName}),
      hostClassOf<HostKeyData>(kHostKeyDataClassId, {IZelKeyData::interfaceName}),
      hostClassOf<HostPickOnModel>(kHostPickOnModelClassId, {IZelPickOnModel::interfaceName}),
      hostClassOf<HostVertexArray>(kHostVertexArrayClassId, {VertexArrayImp::interfaceName}),
      hostClassOf<HostThemeMaterialSource>(kHostThemeMaterialSourceClassId,
                                           {IZelThemeMaterialSource::interfaceName}),
      hostClassOf<HostVectorInput>(kHostVectorInputClassId, {IZelVectorInput::interfaceName}),
      hostClassOf<HostMarkersWidget>(kHostMarkersWidgetClassId, {IZelMarkersWidget::interfaceName}),
      hostClassOf<HostObjectPlaneWidget>(kHostObjectPlaneWidgetClassId,
                                         {IZelObjectPlaneWidget::interfaceName}),
  };
}
