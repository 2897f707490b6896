#include "commands/alignment/iterative/shape_iterators.h"

#include <cmath>

#include "framework/object/query_chain.h"

ShapeIterator::ShapeIterator(const Vector3& centre, const Vector3& normal, int32_t type, int32_t primitives,
                             int32_t verticesEach)
    : centre_(centre), normal_(normal), type_(type), primitives_(primitives), verticesEach_(verticesEach) {
  setHint(kHint);
  // A zero normal leaves the pair zero: the shape collapses onto its centre rather than lying anywhere.
  Vector3::orthonormalBasis(normal, e1_, e2_);
}

void ShapeIterator::reset() {
  primitive_ = vertex_ = 0;
  restart();
}

bool ShapeIterator::nextPrimitive(int32_t& type) {
  if (primitive_ >= primitives_) return false;
  ++primitive_;
  vertex_ = 0;
  type = type_;
  return true;
}

bool ShapeIterator::hasMoreVertices() {
  return primitive_ >= 1 && vertex_ < verticesEach_;
}

bool ShapeIterator::nextVertex(Vector3& position) {
  if (!hasMoreVertices()) return false;
  position = takeVertex();
  ++vertex_;
  return true;
}

Vector3 ShapeIterator::vertexAt(double angle, double radius) const {
  return centre_ + radius * (std::cos(angle) * e1_ + std::sin(angle) * e2_);
}

bool ShapeIterator::vertexNormal(Vector3& normal) {
  normal = normal_;
  return true;
}

void ShapeIterator::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(className(), this, static_cast<IZelItr*>(this))
      .offer<IZelItr>(this)
      .offer<IZelPrimitiveItr>(this)
      .end();
}

PalperaIterativeAlignmentCmd::DiscIterator::DiscIterator(const Vector3& centre, const Vector3& normal,
                                                         double radius)
    : ShapeIterator(centre, normal, ZelPrimitiveType::Polygon, 1, 49), radius_(radius) {}

RingWalk::RingWalk(const Vector3& centre, const Vector3& normal, int32_t primitives, int32_t verticesEach,
                   double inner, double outer)
    : ShapeIterator(centre, normal, ZelPrimitiveType::TriangleStrip, primitives, verticesEach),
      inner_(inner),
      outer_(outer) {}

void RingWalk::restart() {
  angle_ = 0;
  pair_ = 0;
  outerNext_ = false;
}

Vector3 RingWalk::walk() {
  const Vector3 position = vertexAt(angle_, outerNext_ ? outer_ : inner_);
  outerNext_ = !outerNext_;
  ++pair_;
  return position;
}

PalperaIterativeAlignmentCmd::RingIterator::RingIterator(const Vector3& centre, const Vector3& normal,
                                                         double inner, double outer)
    : RingWalk(centre, normal, 1, 98, inner, outer) {}

// Inner at 0, outer at s, inner at s, outer at 2s, ...: the outer edge runs one step ahead.
Vector3 PalperaIterativeAlignmentCmd::RingIterator::takeVertex() {
  const Vector3 position = walk();
  if (pair_ == 1) {
    angle_ += kStep;
  } else {
    pair_ = 0;
  }
  return position;
}

PalperaIterativeAlignmentCmd::DashedRingIterator::DashedRingIterator(const Vector3& centre,
                                                                     const Vector3& normal, double inner,
                                                                     double outer)
    : RingWalk(centre, normal, 16, 4, inner, outer) {}

// Each dash: inner and outer at a, inner and outer at a + s; the next dash starts two steps further on.
Vector3 PalperaIterativeAlignmentCmd::DashedRingIterator::takeVertex() {
  const Vector3 position = walk();
  if (pair_ == 2) {
    angle_ += kStep;
  } else if (pair_ == 4) {
    angle_ += 2 * kStep;
    pair_ = 0;
  }
  return position;
}
