#include "host/cad/cad_fitters.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include <Eigen/Geometry>

#include "basic_types/bit_vector.h"
#include "host/cad/cad_model.h"
#include "host/document/features/host_arc.h"
#include "host/document/features/host_cone.h"
#include "host/document/features/host_cylinder.h"
#include "host/document/features/host_line.h"
#include "host/document/features/host_oval_slot.h"
#include "host/document/features/host_plane.h"
#include "host/document/features/host_rectangular_slot.h"
#include "host/document/features/host_rounded_slot.h"
#include "host/document/features/host_sphere.h"
#include "host/document/parameters/host_bit_vector_array.h"
#include "host/document/parameters/host_parameter_table.h"
#include "host/document/parameters/host_single_values.h"

namespace {

using Kind = BrepModel::SurfaceKind;
using Eigen::Vector3d;

// Centres and radii equal within this are one circle.
constexpr double kSameCircle = 1e-7;

Vector3d vec(const BrepModel::Point& p) {
  return Vector3d(p[0], p[1], p[2]);
}

// A direction across the unit axis, for a feature's frame.
Vector3 across(const Vector3d& axis) {
  return toVector3(axis.unitOrthogonal());
}

// The faces the fit covers: the face, or its surface's faces, all of them or those joined to it through
// faces of the surface.
std::vector<uint32_t> coveredFaces(const BrepModel& model, uint32_t face, bool sameFaces, bool adjacentOnly) {
  if (!sameFaces) return {face};
  const std::vector<uint32_t>& group = model.sameSurfaceFaces(face);
  if (!adjacentOnly) return group;
  std::set<uint32_t> reached{face};
  std::vector<uint32_t> open{face};
  while (!open.empty()) {
    const uint32_t at = open.back();
    open.pop_back();
    for (uint32_t edge : model.faceEdges(at)) {
      for (uint32_t next : model.edgeFaces(edge)) {
        if (std::binary_search(group.begin(), group.end(), next) && reached.insert(next).second) {
          open.push_back(next);
        }
      }
    }
  }
  return {reached.begin(), reached.end()};
}

// The tessellation's corners on the faces.
std::vector<Vector3d> cornersOf(const BrepModel& model, const std::vector<uint32_t>& faces) {
  const BrepModel::Tessellation& t = model.tessellation();
  std::vector<Vector3d> corners;
  for (size_t i = 0; i < t.triangles.size(); ++i) {
    if (std::find(faces.begin(), faces.end(), t.triangleFaces[i]) == faces.end()) continue;
    for (int32_t corner : t.triangles[i]) corners.push_back(vec(t.vertices[corner]));
  }
  return corners;
}

// The least and greatest position of the corners along the axis from origin.
std::pair<double, double> extentAlong(const std::vector<Vector3d>& corners, const Vector3d& origin,
                                      const Vector3d& axis) {
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (const Vector3d& c : corners) {
    low = std::min(low, (c - origin).dot(axis));
    high = std::max(high, (c - origin).dot(axis));
  }
  return {low, high};
}

IPtr<IZelFeature> surfaceFeature(const BrepModel::Surface& s, const std::vector<Vector3d>& corners) {
  if (corners.empty()) return {};
  const Vector3d origin = vec(s.origin), axis = vec(s.axis);
  switch (s.kind) {
    case Kind::plane: {
      Vector3d centre = Vector3d::Zero();
      for (const Vector3d& c : corners) centre += c;
      centre /= static_cast<double>(corners.size());
      centre -= axis * (centre - origin).dot(axis);
      IPtr<HostPlane> plane(new HostPlane);
      if (!plane->setPlane(toVector3(centre), toVector3(axis), across(axis), 0, 0)) return {};
      return IPtr<IZelFeature>(plane.get());
    }
    case Kind::cylinder: {
      const auto [low, high] = extentAlong(corners, origin, axis);
      IPtr<HostCylinder> cylinder(new HostCylinder);
      if (!cylinder->redefine(toVector3(origin + low * axis), toVector3(origin + high * axis), s.radius,
                              across(axis), nullptr, nullptr, nullptr))
        return {};
      return IPtr<IZelFeature>(cylinder.get());
    }
    case Kind::cone: {
      const auto [low, high] = extentAlong(corners, origin, axis);
      const double slope = std::tan(s.minor);
      IPtr<HostCone> cone(new HostCone);
      if (!cone->redefine(toVector3(origin + low * axis), toVector3(origin + high * axis),
                          s.radius + low * slope, s.radius + high * slope, across(axis), nullptr, nullptr,
                          nullptr))
        return {};
      return IPtr<IZelFeature>(cone.get());
    }
    case Kind::sphere: {
      IPtr<HostSphere> sphere(new HostSphere);
      sphere->setCenter(toVector3(origin));
      sphere->setRadius(s.radius);
      return IPtr<IZelFeature>(sphere.get());
    }
    case Kind::torus:
    case Kind::other:
      break;
  }
  return {};
}

struct Circle {
  Vector3d centre;
  Vector3d axis;
  double radius;
};

struct Segment {
  Vector3d start;
  Vector3d end;
  double length() const { return (end - start).norm(); }
};

// A loop's lines and its distinct circles (the arcs of one circle count once); false when it holds another
// kind of curve.
bool splitLoop(const BrepModel& model, const std::vector<uint32_t>& loop, std::vector<Segment>& lines,
               std::vector<Circle>& circles) {
  for (uint32_t edge : loop) {
    const BrepModel::Curve& c = model.curve(edge);
    if (c.kind == BrepModel::CurveKind::line) {
      lines.push_back({vec(c.start), vec(c.end)});
    } else if (c.kind == BrepModel::CurveKind::circle) {
      const Circle circle{vec(c.origin), vec(c.axis), c.radius};
      const bool known = std::any_of(circles.begin(), circles.end(), [&](const Circle& k) {
        return (k.centre - circle.centre).norm() <= kSameCircle &&
               std::abs(k.radius - circle.radius) <= kSameCircle;
      });
      if (!known) circles.push_back(circle);
    } else {
      return false;
    }
  }
  return true;
}

bool equalRadii(const std::vector<Circle>& circles) {
  return std::all_of(circles.begin(), circles.end(),
                     [&](const Circle& c) { return std::abs(c.radius - circles[0].radius) <= kSameCircle; });
}

template <class Slot>
IPtr<IZelFeature> slot(const Vector3d& centre, const Vector3d& axis, const Vector3d& normal, double length,
                       double width, Slot* made) {
  IPtr<Slot> kept(made);
  kept->setCenter(toVector3(centre));
  kept->setLength(length);
  kept->setWidth(width);
  if (!kept->setAxis(toVector3(axis)) || !kept->setSecondDirection(toVector3(normal.cross(axis)))) return {};
  return IPtr<IZelFeature>(kept.get());
}

// The feature a loop on a plane of that normal outlines; none for a loop of another shape.
IPtr<IZelFeature> loopFeature(const std::vector<Segment>& lines, const std::vector<Circle>& circles,
                              const Vector3d& normal) {
  if (lines.empty() && circles.size() == 1) {
    IPtr<HostArc> arc(new HostArc);
    arc->setCenter(toVector3(circles[0].centre));
    if (!arc->setNormal(toVector3(normal))) return {};
    arc->setRadius(circles[0].radius);
    return IPtr<IZelFeature>(arc.get());
  }
  if (lines.size() == 2 && circles.size() == 2 && equalRadii(circles)) {
    const Vector3d between = circles[1].centre - circles[0].centre;
    const double r = circles[0].radius;
    return slot((circles[0].centre + circles[1].centre) / 2, between.normalized(), normal,
                between.norm() + 2 * r, 2 * r, new HostOvalSlot);
  }
  if (lines.size() != 4 || !(circles.empty() || (circles.size() == 4 && equalRadii(circles)))) return {};
  const Segment& longest = *std::max_element(
      lines.begin(), lines.end(), [](const Segment& a, const Segment& b) { return a.length() < b.length(); });
  const Segment& shortest = *std::min_element(
      lines.begin(), lines.end(), [](const Segment& a, const Segment& b) { return a.length() < b.length(); });
  Vector3d centre = Vector3d::Zero();
  for (const Segment& line : lines) centre += (line.start + line.end) / 8;
  const Vector3d axis = (longest.end - longest.start).normalized();
  if (circles.empty())
    return slot(centre, axis, normal, longest.length(), shortest.length(), new HostRectangularSlot);
  const double corner = 2 * circles[0].radius;
  IPtr<HostRoundedSlot> rounded(new HostRoundedSlot);
  rounded->setCornerDiameter(corner);
  return slot(centre, axis, normal, longest.length() + corner, shortest.length() + corner, rounded.get());
}

IPtr<IZelFeature> edgeFeature(const BrepModel::Curve& c, bool toArc) {
  if (c.kind == BrepModel::CurveKind::line) {
    IPtr<HostLine> line(new HostLine);
    line->setLine(toVector3(vec(c.start)), toVector3(vec(c.end)), 0, 0);
    return IPtr<IZelFeature>(line.get());
  }
  if (c.kind == BrepModel::CurveKind::circle && toArc)
    return loopFeature({}, {{vec(c.origin), vec(c.axis), c.radius}}, vec(c.axis));
  return {};
}

// The feature a plane's loop through the edge outlines, with the loop; none when the loop is of another
// shape. hole: whether the loop is one of the plane's holes rather than its outer boundary.
struct LoopOutline {
  IPtr<IZelFeature> feature;
  std::vector<uint32_t> loop;
  bool hole = false;
};

LoopOutline outlineThrough(const BrepModel& model, uint32_t plane, uint32_t edge) {
  const std::vector<std::vector<uint32_t>>& loops = model.loops(plane);
  for (size_t i = 0; i < loops.size(); ++i) {
    if (std::find(loops[i].begin(), loops[i].end(), edge) == loops[i].end()) continue;
    std::vector<Segment> lines;
    std::vector<Circle> circles;
    if (!splitLoop(model, loops[i], lines, circles)) return {};
    return {loopFeature(lines, circles, vec(model.surface(plane).axis)), loops[i], i > 0};
  }
  return {};
}

// The plane beside the edge whose loop through it outlines a feature, one whose loop is a hole preferred (a
// pocket's rim is the wall's outer boundary too, but the pocket is the hole in the face around it); or the
// first plane beside it, without a feature; 0 for no plane.
uint32_t outlinedPlane(const BrepModel& model, uint32_t edge, LoopOutline& outline) {
  uint32_t chosen = 0;
  for (uint32_t face : model.edgeFaces(edge)) {
    if (model.surface(face).kind != Kind::plane) continue;
    LoopOutline candidate = outlineThrough(model, face, edge);
    const bool better = candidate.feature && (!outline.feature || (candidate.hole && !outline.hole));
    if (!chosen || better) chosen = face;
    if (better) outline = std::move(candidate);
  }
  return chosen;
}

void setInt(HostParameterTable& table, const char16_t* name, int32_t value) {
  IPtr<HostIntValue> parameter(new HostIntValue);
  parameter->setValue(value);
  table.setParameter(ZelString(name), parameter.get());
}

// Appends to the array the set of ids, out of count.
void appendBits(IZelBitVectorArray& array, const std::vector<uint32_t>& ids, uint32_t count) {
  BitVector bits(static_cast<int32_t>(count));
  for (uint32_t id : ids) bits.set(static_cast<int32_t>(id));
  array.append(bits);
}

IPtr<HostBitVectorArray> bitsOf(const std::vector<uint32_t>& ids, uint32_t count) {
  IPtr<HostBitVectorArray> array(new HostBitVectorArray);
  appendBits(*array, ids, count);
  return array;
}

// The recreation record a CAD feature carries ("<Construction>"): the model, the face or edge it was fitted
// from, and the faces and edges it covers.
void recordConstruction(IZelFeature& feature, const BrepModel& model, int32_t modelId, const char16_t* idName,
                        uint32_t id, const std::vector<uint32_t>& faces, const std::vector<uint32_t>& edges) {
  IPtr<HostParameterTable> construction(new HostParameterTable);
  setInt(*construction, u"<CAD Model>", modelId);
  setInt(*construction, idName, static_cast<int32_t>(id));
  construction->setParameter(ZelString(u"<CadFaceBvs>"), bitsOf(faces, model.faceCount()).get());
  construction->setParameter(ZelString(u"<CadEdgeBvs>"), bitsOf(edges, model.edgeCount()).get());
  feature.setParameter(ZelString(u"<Construction>"), construction.get());
}

}  // namespace

IPtr<IZelFeature> HostCadFaceFitter::fitFeature() {
  auto* modelId = parameter<IZelIntValue>(u"<CAD Model>");
  auto* face = parameter<IZelIntValue>(u"<Face Identifier>");
  std::shared_ptr<const BrepModel> model = modelId ? cadModelById(modelId->value()) : nullptr;
  if (!model || !face || face->value() < 1 || static_cast<uint32_t>(face->value()) > model->faceCount())
    return {};
  const auto flag = [this](const char16_t* name) {
    auto* value = parameter<IZelIntValue>(name);
    return value && value->value() != 0;
  };
  const uint32_t id = static_cast<uint32_t>(face->value());
  const std::vector<uint32_t> faces =
      coveredFaces(*model, id, flag(u"<Same Faces>"), flag(u"<Adjacent Only>"));
  IPtr<IZelFeature> feature = surfaceFeature(model->surface(id), cornersOf(*model, faces));
  if (feature) recordConstruction(*feature, *model, modelId->value(), u"<Face Identifier>", id, faces, {});
  return feature;
}

IPtr<IZelFeature> HostCadEdgeFitter::fitFeature() {
  auto* modelId = parameter<IZelIntValue>(u"<CAD Model>");
  auto* edgeValue = parameter<IZelIntValue>(u"<Edge Identifier>");
  std::shared_ptr<const BrepModel> model = modelId ? cadModelById(modelId->value()) : nullptr;
  if (!model || !edgeValue || edgeValue->value() < 1 ||
      static_cast<uint32_t>(edgeValue->value()) > model->edgeCount())
    return {};
  const uint32_t edge = static_cast<uint32_t>(edgeValue->value());
  auto* toArc = parameter<IZelIntValue>(u"<Allow Convert To Arc>");
  auto* offset = parameter<IZelDoubleValue>(u"<Offset>");
  LoopOutline outline;
  const uint32_t plane = outlinedPlane(*model, edge, outline);
  IPtr<IZelFeature> feature = outline.feature;
  const std::vector<uint32_t> covered = feature ? outline.loop : std::vector<uint32_t>{edge};
  const Vector3d normal = plane ? vec(model->surface(plane).axis) : Vector3d::Zero();
  if (!feature) feature = edgeFeature(model->curve(edge), toArc && toArc->value() != 0);
  if (!feature) return {};
  if (offset && offset->value() != 0 && normal.norm() > 0) {
    const Vector3 shift = toVector3(normal * offset->value());
    // The outline names no interface of its own: asked by name, every feature would answer.
    if (auto* slotOutline = dynamic_cast<IZelSlotOutline*>(feature.get()))
      slotOutline->setCenter(slotOutline->center() + shift);
    if (auto* arc = queryPart<IZelArc>(feature.get())) arc->setCenter(arc->center() + shift);
  }
  if (auto* edges = parameter<IZelBitVectorArray>(u"<CadEdgeBvs>"))
    appendBits(*edges, covered, model->edgeCount());
  recordConstruction(*feature, *model, modelId->value(), u"<Edge Identifier>", edge,
                     plane ? std::vector<uint32_t>{plane} : std::vector<uint32_t>{}, covered);
  return feature;
}
