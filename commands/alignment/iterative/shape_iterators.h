#pragma once

// The flat shapes of a target's bullseye, lying in the plane through a centre across a normal: a disc, a
// ring drawn as one strip, and a dashed ring of 16 dashes. Each gives its primitives to the static iterator
// node that owns it (IZelPrimitiveItr), every vertex with the plane's normal. A circle is walked in 48 steps
// from the first axis of the plane's orthonormal pair. Main thread only.

#include <cstdint>
#include <numbers>

#include "basic_types/vector3.h"
#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "framework/iterators/zel_itr_base.h"
#include "host_api/zel_primitive_itr.h"

// A fixed number of primitives of one type and vertex count; a concrete shape gives the vertices.
class ShapeIterator : public ZelItrBase, public IZelPrimitiveItr {
 public:
  static constexpr int32_t kHint = 1092;
  static constexpr double kStep = 2 * std::numbers::pi / 48;

  void reset() override;
  bool nextPrimitive(int32_t& type) override;
  bool hasMoreVertices() override;
  bool nextVertex(Vector3& position) override;
  bool vertexNormal(Vector3& normal) override;
  void queryInterface(const char* name, void** out, bool flag) override;

 protected:
  ShapeIterator(const Vector3& centre, const Vector3& normal, int32_t type, int32_t primitives,
                int32_t verticesEach);
  Vector3 vertexAt(double angle, double radius) const;
  // The position of vertex vertex_ of the current primitive; steps the shape's own walk.
  virtual Vector3 takeVertex() = 0;
  // Puts the shape's own walk back to its start.
  virtual void restart() {}

  int32_t vertex_ = 0;  // vertices given of the current primitive

 private:
  Vector3 centre_;
  Vector3 normal_;
  Vector3 e1_;
  Vector3 e2_;
  int32_t type_;
  int32_t primitives_;
  int32_t verticesEach_;
  int32_t primitive_ = 0;  // primitives started
};

// One closed polygon of 49 vertices: the last at a full turn, on the first.
class PalperaIterativeAlignmentCmd::DiscIterator : public ShapeIterator {
 public:
  static constexpr const char* interfaceName = "DiscIterator";

  DiscIterator(const Vector3& centre, const Vector3& normal, double radius);
  const char* className() override { return interfaceName; }

 private:
  Vector3 takeVertex() override { return vertexAt(vertex_ * kStep, radius_); }

  double radius_;
};

// A walk that alternates between an inner and an outer radius, one vertex at a time, counting the vertices
// of each step so that a shape decides when its angle moves on.
class RingWalk : public ShapeIterator {
 protected:
  RingWalk(const Vector3& centre, const Vector3& normal, int32_t primitives, int32_t verticesEach,
           double inner, double outer);
  void restart() override;
  // The vertex at the current angle and radius; swaps the radii and counts the vertex in pair_.
  Vector3 walk();

  double angle_ = 0;
  int32_t pair_ = 0;

 private:
  double inner_;
  double outer_;
  bool outerNext_ = false;
};

// One strip of 98 vertices between the inner and the outer radius, once round.
class PalperaIterativeAlignmentCmd::RingIterator : public RingWalk {
 public:
  static constexpr const char* interfaceName = "RingIterator";

  RingIterator(const Vector3& centre, const Vector3& normal, double inner, double outer);
  const char* className() override { return interfaceName; }

 private:
  Vector3 takeVertex() override;
};

// 16 strips of 4 vertices: dashes of one step with gaps of two.
class PalperaIterativeAlignmentCmd::DashedRingIterator : public RingWalk {
 public:
  static constexpr const char* interfaceName = "DashedRingIterator";

  DashedRingIterator(const Vector3& centre, const Vector3& normal, double inner, double outer);
  const char* className() override { return interfaceName; }

 private:
  Vector3 takeVertex() override;
};
