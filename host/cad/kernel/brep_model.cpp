// Queries on a BrepModel: the exact closest points on faces and edges and the surface at a parameter.
//
// The closest point of the whole model is found face by face, but only for faces whose bounding box is
// nearer than the best answer so far: a face cannot be nearer than its box.

#include "host/cad/brep_model.h"

#include <cmath>
#include <limits>

#include <BRep_Tool.hxx>
#include <Extrema_ExtPC.hxx>
#include <Extrema_ExtPS.hxx>
#include <Precision.hxx>
#include <gp_Pnt2d.hxx>

#include "host/cad/kernel/brep_kernel.h"

namespace {

using Point = BrepModel::Point;
using Kernel = BrepModel::Kernel;

// The parameter precision of the kernel's extrema.
constexpr double kParameterTolerance = 1e-10;
// A surface derivative cross product this short marks a singular point (a cone's apex, a sphere's pole).
constexpr double kSingularNormal = 1e-14;

gp_Pnt pntOf(const Point& p) {
  return gp_Pnt(p[0], p[1], p[2]);
}

Point pointOf(const gp_Pnt& p) {
  return {p.X(), p.Y(), p.Z()};
}

// The squared distance from p to the box; 0 inside it.
double boxDistance2(const Bnd_Box& box, const gp_Pnt& p) {
  if (box.IsVoid()) return std::numeric_limits<double>::infinity();
  double lo[3], hi[3];
  box.Get(lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
  const double c[3] = {p.X(), p.Y(), p.Z()};
  double sum = 0;
  for (int k = 0; k < 3; ++k) {
    const double d = c[k] < lo[k] ? lo[k] - c[k] : (c[k] > hi[k] ? c[k] - hi[k] : 0);
    sum += d * d;
  }
  return sum;
}

struct Nearest {
  double distance2 = std::numeric_limits<double>::infinity();
  gp_Pnt point;
};

// The closest point of one edge to p: the interior extrema and the two ends.
Nearest nearestOnEdge(const Kernel::Edge& edge, const gp_Pnt& p) {
  Nearest best;
  if (edge.degenerated) return best;
  const BRepAdaptor_Curve& curve = edge.curve;
  for (double t : {curve.FirstParameter(), curve.LastParameter()}) {
    const gp_Pnt end = curve.Value(t);
    if (end.SquareDistance(p) < best.distance2) best = {end.SquareDistance(p), end};
  }
  Extrema_ExtPC extrema(p, curve, curve.FirstParameter(), curve.LastParameter(), kParameterTolerance);
  if (extrema.IsDone()) {
    for (int i = 1; i <= extrema.NbExt(); ++i) {
      if (extrema.SquareDistance(i) < best.distance2)
        best = {extrema.SquareDistance(i), extrema.Point(i).Value()};
    }
  }
  return best;
}

// The extremum of the face's whole surface nearest to p, with its parameters, when the face holds it (or
// every extremum when inside is false).
std::optional<BrepModel::FacePoint> nearestOnSurface(const Kernel::Face& face, const gp_Pnt& p, bool inside) {
  const BRepAdaptor_Surface& s = face.surface;
  Extrema_ExtPS extrema(p, s, s.FirstUParameter(), s.LastUParameter(), s.FirstVParameter(),
                        s.LastVParameter(), kParameterTolerance, kParameterTolerance);
  if (!extrema.IsDone()) return std::nullopt;
  std::optional<BrepModel::FacePoint> best;
  double bestDistance2 = std::numeric_limits<double>::infinity();
  for (int i = 1; i <= extrema.NbExt(); ++i) {
    if (extrema.SquareDistance(i) >= bestDistance2) continue;
    double u, v;
    extrema.Point(i).Parameter(u, v);
    if (inside && face.classifier->Perform(gp_Pnt2d(u, v)) == TopAbs_OUT) continue;
    bestDistance2 = extrema.SquareDistance(i);
    best = BrepModel::FacePoint{0, pointOf(extrema.Point(i).Value()), {u, v}};
  }
  return best;
}

}  // namespace

BrepModel::BrepModel(std::unique_ptr<Kernel> kernel) : kernel_(std::move(kernel)) {}

BrepModel::~BrepModel() = default;

uint32_t BrepModel::faceCount() const {
  return static_cast<uint32_t>(kernel_->faces.size());
}

uint32_t BrepModel::edgeCount() const {
  return static_cast<uint32_t>(kernel_->edges.size());
}

const BrepModel::Surface& BrepModel::surface(uint32_t face) const {
  static const Surface none;
  return face >= 1 && face <= faceCount() ? kernel_->surfaces[face - 1] : none;
}

const BrepModel::Curve& BrepModel::curve(uint32_t edge) const {
  static const Curve none;
  return edge >= 1 && edge <= edgeCount() ? kernel_->curves[edge - 1] : none;
}

std::array<uint32_t, 2> BrepModel::edgeFaces(uint32_t edge) const {
  return edge >= 1 && edge <= edgeCount() ? kernel_->edgeFaces[edge - 1] : std::array<uint32_t, 2>{0, 0};
}

const std::vector<uint32_t>& BrepModel::sameSurfaceFaces(uint32_t face) const {
  static const std::vector<uint32_t> none;
  return face >= 1 && face <= faceCount() ? kernel_->groups[face - 1] : none;
}

std::vector<BrepModel::Point> BrepModel::polyline(uint32_t edge, int32_t samples) const {
  std::vector<Point> points;
  if (edge < 1 || edge > edgeCount() || samples < 1 || kernel_->edges[edge - 1].degenerated) return points;
  const BRepAdaptor_Curve& curve = kernel_->edges[edge - 1].curve;
  const double first = curve.FirstParameter(), last = curve.LastParameter();
  for (int32_t i = 0; i <= samples; ++i)
    points.push_back(pointOf(curve.Value(first + (last - first) * i / samples)));
  return points;
}

const BrepModel::Tessellation& BrepModel::tessellation() const {
  return kernel_->tessellation;
}

std::array<BrepModel::Point, 2> BrepModel::bounds() const {
  return kernel_->bounds;
}

std::optional<BrepModel::FacePoint> BrepModel::closestOnFace(uint32_t face, const Point& p) const {
  if (face < 1 || face > faceCount()) return std::nullopt;
  const Kernel::Face& data = kernel_->faces[face - 1];
  const gp_Pnt at = pntOf(p);
  std::optional<FacePoint> best = nearestOnSurface(data, at, true);
  double bestDistance2 =
      best ? at.SquareDistance(pntOf(best->point)) : std::numeric_limits<double>::infinity();
  // The face's nearest point may lie on its boundary rather than at an extremum of its surface.
  std::optional<gp_Pnt> boundary;
  for (uint32_t edge : data.edges) {
    const Kernel::Edge& e = kernel_->edges[edge - 1];
    if (boxDistance2(e.box, at) >= bestDistance2) continue;
    const Nearest n = nearestOnEdge(e, at);
    if (n.distance2 < bestDistance2) {
      bestDistance2 = n.distance2;
      boundary = n.point;
    }
  }
  if (boundary) {
    std::optional<FacePoint> onSurface = nearestOnSurface(data, *boundary, false);
    if (!onSurface) return std::nullopt;
    best = FacePoint{0, pointOf(*boundary), onSurface->parameter};
  }
  if (best) best->face = face;
  return best;
}

std::optional<BrepModel::FacePoint> BrepModel::closestOnFaces(const Point& p) const {
  const gp_Pnt at = pntOf(p);
  std::vector<double> bounds(faceCount());
  uint32_t first = 0;
  for (uint32_t i = 0; i < faceCount(); ++i) {
    bounds[i] = boxDistance2(kernel_->faces[i].box, at);
    if (bounds[i] < bounds[first]) first = i;
  }
  std::optional<FacePoint> best;
  double bestDistance2 = std::numeric_limits<double>::infinity();
  auto consider = [&](uint32_t i) {
    std::optional<FacePoint> candidate = closestOnFace(i + 1, p);
    if (!candidate) return;
    const double d2 = at.SquareDistance(pntOf(candidate->point));
    if (d2 < bestDistance2) {
      bestDistance2 = d2;
      best = candidate;
    }
  };
  if (faceCount() > 0) consider(first);
  for (uint32_t i = 0; i < faceCount(); ++i) {
    if (i != first && bounds[i] < bestDistance2) consider(i);
  }
  return best;
}

std::optional<BrepModel::EdgePoint> BrepModel::closestOnEdges(const Point& p) const {
  const gp_Pnt at = pntOf(p);
  std::optional<EdgePoint> best;
  double bestDistance2 = std::numeric_limits<double>::infinity();
  for (uint32_t i = 0; i < edgeCount(); ++i) {
    const Kernel::Edge& edge = kernel_->edges[i];
    if (edge.degenerated || boxDistance2(edge.box, at) >= bestDistance2) continue;
    const Nearest n = nearestOnEdge(edge, at);
    if (n.distance2 < bestDistance2) {
      bestDistance2 = n.distance2;
      best = EdgePoint{i + 1, pointOf(n.point)};
    }
  }
  return best;
}

std::optional<std::array<double, 2>> BrepModel::parameterOf(uint32_t face, const Point& p) const {
  if (face < 1 || face > faceCount()) return std::nullopt;
  std::optional<FacePoint> onSurface = nearestOnSurface(kernel_->faces[face - 1], pntOf(p), false);
  if (!onSurface) return std::nullopt;
  return onSurface->parameter;
}

bool BrepModel::evaluate(uint32_t face, const std::array<double, 2>& parameter, Point& point,
                         Point& normal) const {
  if (face < 1 || face > faceCount()) return false;
  if (!std::isfinite(parameter[0]) || !std::isfinite(parameter[1])) return false;
  const Kernel::Face& data = kernel_->faces[face - 1];
  gp_Pnt at;
  gp_Vec du, dv;
  data.surface.D1(parameter[0], parameter[1], at, du, dv);
  gp_Vec n = du.Crossed(dv);
  if (n.Magnitude() <= kSingularNormal) {
    // At a singular point the normal is the limit from inside the face: step a little along v.
    const double step = 1e-6 * (data.surface.LastVParameter() - data.surface.FirstVParameter());
    const double v = parameter[1] + (parameter[1] + step <= data.surface.LastVParameter() ? step : -step);
    gp_Pnt beside;
    data.surface.D1(parameter[0], v, beside, du, dv);
    n = du.Crossed(dv);
    if (n.Magnitude() <= kSingularNormal) return false;
  }
  n.Normalize();
  if (data.reversed) n.Reverse();
  point = pointOf(at);
  normal = {n.X(), n.Y(), n.Z()};
  return true;
}
