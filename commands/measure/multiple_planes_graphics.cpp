#include "commands/measure/multiple_planes_graphics.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_shape_factory.h"
#include "host_api/zel_style_nodes.h"

MultiplePlanesWidget::Graphics::Graphics(MultiplePlanesWidget& widget) : iterator_(new Itr(widget)) {
  SPtr<IGfxDoc> doc;
  if (!doc) return;
  root_ = doc->sceneRoot();
  separator_ = createNode<IZelSeparatorNode>(root_.get(), kSeparatorName);
  SPtr<IZelShapeFactory> shapes;
  ColorRGBA border;
  if (shapes && shapes->namedColor("ColorDepthBorder", border)) {
    if (auto* color = createNode<IZelColorNode>(separator_.get(), "node")) color->setColor(border);
  }
  createNode<IZelStaticIteratorNode>(separator_.get(), "node", iterator_.get());
}

MultiplePlanesWidget::Graphics::~Graphics() {
  iterator_->detach();
  if (root_ && separator_) root_->removeChild(separator_.get());
}

void MultiplePlanesWidget::Graphics::Itr::reset() {
  planes_.clear();
  if (widget_) widget_->computePlanes(planes_);
  plane_ = 0;
  corner_ = static_cast<int32_t>(corners_.size());
}

bool MultiplePlanesWidget::Graphics::Itr::nextPrimitive(int32_t& kind) {
  if (!widget_ || plane_ >= planes_.count()) return false;
  ++plane_;
  corner_ = 0;
  const Plane& base = widget_->basePlane();
  const Vector3 normal = base.isValid() ? base.normal() : Vector3{};
  const double baseD = base.isValid() ? base.d : 0.0;
  widget_->owner().planeRectangle(rectangle_);
  const Vector3 shift = normal * (planes_.at(plane_).d - baseD);
  for (size_t i = 0; i < corners_.size(); ++i) corners_[i] = rectangle_[i] + shift;
  kind = ZelPrimitiveType::LineLoop;
  return true;
}

bool MultiplePlanesWidget::Graphics::Itr::nextVertex(Vector3& vertex) {
  if (!hasMoreVertices()) return false;
  vertex = corners_[static_cast<size_t>(corner_++)];
  return true;
}

bool MultiplePlanesWidget::Graphics::Itr::vertexNormal(Vector3& normal) {
  if (plane_ < 1 || plane_ > planes_.count()) return false;
  normal = planes_.at(plane_).normal();
  return true;
}

void MultiplePlanesWidget::Graphics::Itr::queryInterface(const char* name, void** out, bool flag) {
  const bool found = QueryChain(name, out)
                         .classLeaf(interfaceName, this, static_cast<ZelItrBase*>(this))
                         .offer<IZelPrimitiveItr>(this)
                         .end();
  if (!found) ZelItrBase::queryInterface(name, out, flag);
}
