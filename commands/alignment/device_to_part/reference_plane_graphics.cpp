#include "commands/alignment/device_to_part/reference_plane_graphics.h"

#include <cstring>

#include "commands/alignment/common/assertion_sites.h"
#include "commands/alignment/plane_probing/plane_colors.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host_api/gui_themes.h"
#include "host_api/host_class_ids.h"

namespace {

constexpr const char* kSource = assertion_sites::kDeviceToPartSource;
constexpr int32_t kMarkerCount = 3;
constexpr int32_t kMarkerSize = 9;
constexpr float kFaceLightness = 0.85f;
const char* const kPlaneEvents[] = {"Plane1", "Plane2", "Plane3"};

// The plane's colour at the face lightness, as the face colour of the theme's plane material.
ColorSet faceMaterial(const ColorSet& base, const ColorRGBA& color) {
  Color light{color.r, color.g, color.b};
  light.rgbToHsl();
  light.l = kFaceLightness;
  light.hslToRgb();
  ColorSet material = base;
  material.diffuse.r = light.r;
  material.diffuse.g = light.g;
  material.diffuse.b = light.b;
  return material;
}

}  // namespace

ReferencePointMarkers::ReferencePointMarkers(IZelGroupNode* owner) : owner_(owner) {
  markers_.createInstance(kHostMarkersWidgetClassId);
  if (!markers_) {
    reportAssertion("markers_", kSource, assertion_sites::kMarkersLine);
    return;
  }
  markers_->setMarkerCount(kMarkerCount);
  markers_->setMarkerSize(kMarkerSize);
  if (owner_) owner_->addChild(markers_->node());
}

ReferencePointMarkers::~ReferencePointMarkers() {
  if (owner_ && markers_) owner_->removeChild(markers_->node());
}

void ReferencePointMarkers::update(const DeviceToPartReferencePlanes& data) {
  if (!markers_) return;
  markers_->update(0);
  markers_->clearMarkers();
  if (plane_ < 1 || plane_ > 3) {
    reportAssertion("plane_ >= 1 && plane_ <= 3", kSource, assertion_sites::kMarkersPlaneLine);
  } else {
    for (int i = 0; i < 4 - plane_; ++i) {
      const bool set = plane_ == 1   ? data.plane1Set.test(i)
                       : plane_ == 2 ? data.plane2Set.test(i)
                                     : data.plane3Set;
      if (set) markers_->placeMarker(i, data.point(plane_, i), 0);
    }
  }
  markers_->update(1);
  requestRedraw(false);
}

void ReferencePointMarkers::setVisible(bool visible) {
  if (markers_) markers_->node()->setVisible(visible);
}

void ReferencePointMarkers::onNotify(const char* event, IZelSubject* subject, void*) {
  if (std::strcmp(event, "Point") != 0) return;
  if (auto* data = queryPart<DeviceToPartReferencePlanes>(subject)) update(*data);
}

void ReferencePointMarkers::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelListener>(this).end();
}

ReferencePlaneWidgets::ReferencePlaneWidgets(IZelDocObject* reference) {
  for (IPtr<IZelObjectPlaneWidget>& widget : widgets_) {
    widget.createInstance(kHostObjectPlaneWidgetClassId);
    if (!widget) continue;
    widget->setObject(reference);
    widget->setVisible(false);
    widget->setClipped(true);
  }
  SPtr<IGuiThemes> themes;
  IGuiTheme* theme = themes ? themes->currentTheme() : nullptr;
  ColorSet base;
  if (!theme || !theme->material("MaterialDepthPlane", base)) return;
  for (int i = 0; i < 3; ++i) {
    if (!widgets_[i]) continue;
    widgets_[i]->setMaterial(faceMaterial(base, kPlaneColors[i]));
    widgets_[i]->setColor(kPlaneColors[i]);
  }
}

ReferencePlaneWidgets::~ReferencePlaneWidgets() {
  for (IPtr<IZelObjectPlaneWidget>& widget : widgets_) {
    if (widget) widget->setObject(nullptr);
  }
}

void ReferencePlaneWidgets::onNotify(const char* event, IZelSubject*, void* data) {
  for (int plane = 1; plane <= 3; ++plane) {
    if (std::strcmp(event, kPlaneEvents[plane - 1]) == 0 && data) show(plane, *static_cast<Plane*>(data));
  }
  requestRedraw(false);
}

void ReferencePlaneWidgets::show(int plane, const Plane& given) {
  if (given.isValid()) {
    if (auto& widget = widgets_[plane - 1]) {
      widget->setPlane(given);
      widget->setVisible(true);
    }
    return;
  }
  for (int i = plane - 1; i < 3; ++i) {
    if (widgets_[i]) widgets_[i]->setVisible(false);
  }
}

void ReferencePlaneWidgets::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelListener>(this).end();
}
