#include "host/scene/scene_family.h"

#include "host/scene/host_alignment_widgets.h"
#include "host/scene/host_line_arrow_itr.h"
#include "host/scene/host_object_size_source.h"
#include "host/scene/host_parray_sphere_itr.h"
#include "host/scene/host_pick_on_model.h"
#include "host/scene/host_plane_widget.h"
#include "host/scene/host_style_nodes.h"
#include "host/scene/host_vector_input.h"
#include "host/scene/host_vertex_array.h"
#include "host/scene/host_view_input.h"
#include "host_api/host_class_ids.h"

SceneFamily::SceneFamily(IZelDoc& document)
    : document_(document),
      callbacks_(new HostCallbackObject),
      view_(new HostGfxViewMgr(callbacks_.get())),
      renderer_(new HostGfxRenderer),
      nodeFactory_(new HostNodeFactory),
      genGfx_(new HostGenGfxService(document)),
      probeGfx_(new HostPalperaGfxUtil),
      shapes_(new HostShapeFactory),
      viewThemes_(new HostViewTheme(*view_)),
      commands_(new HostCommandService(*genGfx_)),
      extent_(new HostObjectExtent) {}

std::vector<ServiceFamily::SharedService> SceneFamily::sharedServices() const {
  return {
      {ICallbackObject::interfaceName, callbacks_.get()},
      {IGfxViewMgr::interfaceName, view_.get()},
      {IGfxRenderer::interfaceName, renderer_.get()},
      {IZelNodeFactory::interfaceName, nodeFactory_.get()},
      {IGenGfxService::interfaceName, genGfx_.get()},
      {IGfxPalperaGfxUtil::interfaceName, probeGfx_.get()},
      {IZelShapeFactory::interfaceName, shapes_.get()},
      {IViewTheme::interfaceName, viewThemes_.get()},
      {IHostCommandService::interfaceName, commands_.get()},
      {IObjectExtent::interfaceName, extent_.get()},
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
      hostClassOf<HostPArraySphereItr>(kHostPArraySphereItrClassId, {IZelPArraySphereItr::interfaceName}),
      hostClassOf<HostLineArrowItr>(kHostLineArrowItrClassId, {IZelLineArrowItr::interfaceName}),
      {kHostSelectorClassId,
       {IZelSelector::interfaceName},
       [band = band_.get()] { return static_cast<IZelUnknown*>(new HostSelector(*band)); }},
      {kHostObjectSizeSourceClassId,
       {IObjectSizeSource::interfaceName},
       [this] { return static_cast<IZelUnknown*>(new HostObjectSizeSource(document_, *genGfx_)); }},
      {kHostPlaneWidgetClassId,
       {IZelPlaneWidget::interfaceName},
       [document = &document_, graphics = genGfx_.get()] {
         return static_cast<IZelUnknown*>(new HostPlaneWidget(*document, *graphics));
       }},
      hostClassOf<HostAnimateCameraUtil>(kHostAnimateCameraUtilClassId,
                                         {IZelAnimateCameraUtil::interfaceName}),
  };
}
