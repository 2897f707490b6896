#include "host/scene/host_scene_nodes.h"

#include <algorithm>
#include <cstdio>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host_api/zel_image_itr.h"
#include "host_api/zel_primitive_itr.h"
#include "platform/utf8.h"

void HostNode::insertChild(IZelUnknown* child, size_t index) {
  if (!child || holds(child)) return;
  children_.emplace(children_.begin() + static_cast<std::ptrdiff_t>(std::min(index, children_.size())),
                    child);
}

bool HostNode::removeChild(IZelUnknown* child) {
  return std::erase_if(children_, [&](const IPtr<IZelUnknown>& held) { return held.get() == child; }) > 0;
}

bool HostNode::holds(IZelUnknown* child) const {
  return std::ranges::any_of(children_, [&](const IPtr<IZelUnknown>& held) { return held.get() == child; });
}

void HostTextNode::setText(const ZelString& text, const Vector3& anchor, double size, double offsetX,
                           double offsetY) {
  text_ = text;
  anchor_ = anchor;
  size_ = size;
  offsetX_ = offsetX;
  offsetY_ = offsetY;
}

void HostTextNode::setLabel(const ZelString& text, const Vector3& anchor, double size, double offsetX,
                            double offsetY, int32_t anchorKind, int32_t pointSize) {
  setText(text, anchor, size, offsetX, offsetY);
  anchorKind_ = anchorKind;
  pointSize_ = pointSize;
}

void HostTextNode::setColors(const ColorRGBA& text, const ColorRGBA& background) {
  color_ = text;
  background_ = background;
}

std::string HostTextNode::describe() const {
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, " at (%g, %g, %g), size %g, flags %u, colour (%g, %g, %g, %g)",
                anchor_.x, anchor_.y, anchor_.z, size_, flags_, color_.r, color_.g, color_.b, color_.a);
  return "'" + platform::toUtf8(text_.c_str()) + "'" + numbers;
}

void HostTextNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelText>(this)
      .offer<HostNode>(this)
      .end();
}

void HostGroupNode::insertChild(IZelNode* node, int32_t index) {
  HostNode::insertChild(node, static_cast<size_t>(std::max(index, 0)));
}

void HostGroupNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelGroupNode>(this)
      .offer<IZelNode>(this)
      .offer<HostNode>(this)
      .end();
}

bool HostVisibilitySensitiveNode::drawnInCurrentView() {
  return visible() && (!source_ || source_->isVisible());
}

void HostVisibilitySensitiveNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelVisibilitySensitiveNode>(this)
      .offer<IZelSeparatorNode>(this)
      .offer<IZelGroupNode>(this)
      .offer<IZelNode>(this)
      .offer<HostNode>(this)
      .end();
}

void HostDepthTestNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelDepthTestNode>(this)
      .offer<HostNode>(this)
      .end();
}

Matrix4x4 HostMatrixSourceNode::drawnMatrix() {
  Matrix4x4 matrix;
  if (source_) source_->getMatrix(matrix);
  return matrix;
}

void HostMatrixSourceNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelMatrixSourceNode>(this)
      .offer<HostNode>(this)
      .end();
}

void HostMatrixNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelMatrixNode>(this)
      .offer<HostNode>(this)
      .end();
}

HostStaticIteratorNode::HostStaticIteratorNode(const char* name, IZelItr* iterator)
    : HostNode(name), iterator_(iterator) {}

std::vector<Vector3> HostStaticIteratorNode::drawFrame(int32_t& format) {
  if (IZelImageItr* images = queryPart<IZelImageItr>(iterator_.get())) images->reset();
  return drawAgain(format);
}

std::vector<HostStaticIteratorNode::Primitive> HostStaticIteratorNode::drawPrimitives() {
  std::vector<Primitive> primitives;
  IZelPrimitiveItr* shape = queryPart<IZelPrimitiveItr>(iterator_.get());
  if (!shape) return primitives;
  shape->reset();
  int32_t type = 0;
  while (shape->nextPrimitive(type)) {
    Primitive& primitive = primitives.emplace_back();
    primitive.type = type;
    Vector3 vertex, normal;
    while (shape->hasMoreVertices() && shape->nextVertex(vertex)) {
      primitive.vertices.push_back(vertex);
      if (!shape->vertexNormal(normal)) normal = {};
      primitive.normals.push_back(normal);
    }
  }
  return primitives;
}

std::vector<Vector3> HostStaticIteratorNode::drawAgain(int32_t& format) {
  format = -1;
  std::vector<Vector3> vertices;
  IZelImageItr* images = queryPart<IZelImageItr>(iterator_.get());
  if (!images || !images->begin(format)) return vertices;
  Vector3 vertex;
  while (images->hasNext() && images->next(vertex)) vertices.push_back(vertex);
  return vertices;
}

void HostStaticIteratorNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelStaticIteratorNode>(this)
      .offer<HostNode>(this)
      .end();
}

void HostImageNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelImageNode>(this)
      .offer<HostNode>(this)
      .end();
}
