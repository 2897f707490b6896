// Queries on a BrepModel: the exact closest points on faces and edges and the surface at a parameter.
//
// The closest point of the whole model is found face by face, but only for faces whose bounding box is
// nearer than the best answer so far: a face cannot be nearer than its box.

#include "host/cad/brep_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include <BRep_Tool.hxx>
#include <ElCLib.hxx>
#include <ElSLib.hxx>
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
// How much farther than it is a face turned away from a point counts (metres): far more than two touching
// solids' faces lie apart, far less than any feature.
constexpr double kOtherSideSlack = 1e-6;

gp_Pnt pntOf(const Point& p) {
  return gp_Pnt(p[0], p[1], p[2]);
}

Point pointOf(const gp_Pnt& p) {
  return {p.X(), p.Y(), p.Z()};
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

// The extrema of a face's surface nearest to p: of all, and of those the face holds.
struct SurfaceNearest {
  std::optional<BrepModel::FacePoint> overall;
  bool overallInside = false;
  std::optional<BrepModel::FacePoint> inside;
};

// A periodic parameter in the turn centred on the face's span, so that a point just across the seam from the
// face's end is taken beside that end, not a whole turn away.
double nearSpan(double parameter, double first, double last, double period) {
  const double mid = (first + last) / 2;
  return ElCLib::InPeriod(parameter, mid - period / 2, mid + period / 2);
}

// The parameters of an elementary surface's point nearest to p, a periodic parameter brought into the
// face's span; none for a surface of another kind. The kernel's extrema miss that point where it lies on the
// seam of the surface's parameterisation or at an apex, as the face's parameter range ends there.
std::optional<std::array<double, 2>> elementaryParameter(const BRepAdaptor_Surface& s, const gp_Pnt& p) {
  double u = 0, v = 0;
  switch (s.GetType()) {
    case GeomAbs_Plane:
      ElSLib::Parameters(s.Plane(), p, u, v);
      break;
    case GeomAbs_Cylinder:
      ElSLib::Parameters(s.Cylinder(), p, u, v);
      break;
    case GeomAbs_Cone:
      ElSLib::Parameters(s.Cone(), p, u, v);
      break;
    case GeomAbs_Sphere:
      ElSLib::Parameters(s.Sphere(), p, u, v);
      break;
    case GeomAbs_Torus:
      ElSLib::Parameters(s.Torus(), p, u, v);
      break;
    default:
      return std::nullopt;
  }
  if (s.IsUPeriodic()) u = nearSpan(u, s.FirstUParameter(), s.LastUParameter(), s.UPeriod());
  if (s.IsVPeriodic()) v = nearSpan(v, s.FirstVParameter(), s.LastVParameter(), s.VPeriod());
  return std::array{u, v};
}

// Whether the edge has one surface on both sides (a seam, or where the modeller split a surface): it bounds
// no feature, and a point beside it lies on that surface.
bool insideOneSurface(const Kernel& kernel, uint32_t index) {
  const auto [first, second] = kernel.edgeFaces[index];
  if (first == 0 || second == 0) return false;
  const std::vector<uint32_t>& group = kernel.groups[first - 1];
  return std::find(group.begin(), group.end(), second) != group.end();
}

SurfaceNearest nearestOnSurface(const Kernel::Face& face, const gp_Pnt& p) {
  const BRepAdaptor_Surface& s = face.surface;
  std::vector<std::array<double, 2>> candidates;
  Extrema_ExtPS extrema(p, s, s.FirstUParameter(), s.LastUParameter(), s.FirstVParameter(),
                        s.LastVParameter(), kParameterTolerance, kParameterTolerance);
  for (int i = 1; extrema.IsDone() && i <= extrema.NbExt(); ++i) {
    double u, v;
    extrema.Point(i).Parameter(u, v);
    candidates.push_back({u, v});
  }
  if (std::optional<std::array<double, 2>> elementary = elementaryParameter(s, p))
    candidates.push_back(*elementary);
  SurfaceNearest nearest;
  double overall2 = std::numeric_limits<double>::infinity(), inside2 = overall2;
  for (const auto& [u, v] : candidates) {
    const gp_Pnt at = s.Value(u, v);
    const double d2 = at.SquareDistance(p);
    if (d2 >= overall2 && d2 >= inside2) continue;
    const BrepModel::FacePoint point{0, pointOf(at), {u, v}};
    const bool in = face.classifier->Perform(gp_Pnt2d(u, v)) != TopAbs_OUT;
    if (d2 < overall2) {
      overall2 = d2;
      nearest.overall = point;
      nearest.overallInside = in;
    }
    if (in && d2 < inside2) {
      inside2 = d2;
      nearest.inside = point;
    }
  }
  return nearest;
}

// The face's surface at a parameter: the point and the unit normal out of the material.
bool outwardAt(const Kernel::Face& face, const std::array<double, 2>& parameter, gp_Pnt& at, gp_Vec& n) {
  if (!std::isfinite(parameter[0]) || !std::isfinite(parameter[1])) return false;
  gp_Vec du, dv;
  face.surface.D1(parameter[0], parameter[1], at, du, dv);
  n = du.Crossed(dv);
  if (n.Magnitude() <= kSingularNormal) {
    // At a singular point the normal is the limit from inside the face: step a little along v.
    const double step = 1e-6 * (face.surface.LastVParameter() - face.surface.FirstVParameter());
    const double v = parameter[1] + (parameter[1] + step <= face.surface.LastVParameter() ? step : -step);
    gp_Pnt beside;
    face.surface.D1(parameter[0], v, beside, du, dv);
    n = du.Crossed(dv);
    if (n.Magnitude() <= kSingularNormal) return false;
  }
  n.Normalize();
  if (face.reversed) n.Reverse();
  return true;
}

// The squared distance by which the nearest face is chosen. Where solids touch, two faces lie on one surface
// facing opposite ways, equally near every point: the face whose outside the point is on is its side, so a
// face turned away from the point counts as a little farther than it is.
double sideDistance2(const Kernel::Face& face, const BrepModel::FacePoint& found, const gp_Pnt& p) {
  const gp_Pnt on = pntOf(found.point);
  const double distance = std::sqrt(on.SquareDistance(p));
  gp_Pnt at;
  gp_Vec n;
  const bool turnedAway = outwardAt(face, found.parameter, at, n) && n.Dot(gp_Vec(on, p)) < 0;
  const double counted = turnedAway ? distance + kOtherSideSlack : distance;
  return counted * counted;
}

}  // namespace

BrepModel::BrepModel(std::unique_ptr<Kernel> kernel) : kernel_(std::move(kernel)) {}

BrepModel::~BrepModel() = default;

uint32_t BrepModel::solidCount() const {
  return kernel_->solids;
}

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

const std::vector<uint32_t>& BrepModel::faceEdges(uint32_t face) const {
  static const std::vector<uint32_t> none;
  return face >= 1 && face <= faceCount() ? kernel_->faces[face - 1].edges : none;
}

const std::vector<std::vector<uint32_t>>& BrepModel::loops(uint32_t face) const {
  static const std::vector<std::vector<uint32_t>> none;
  return face >= 1 && face <= faceCount() ? kernel_->faces[face - 1].loops : none;
}

std::vector<BrepModel::Point> BrepModel::polyline(uint32_t edge, int32_t samples) const {
  std::lock_guard lock(kernel_->turn);
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
  std::lock_guard lock(kernel_->turn);
  return nearestOnFace(face, p);
}

std::optional<BrepModel::FacePoint> BrepModel::nearestOnFace(uint32_t face, const Point& p) const {
  if (face < 1 || face > faceCount()) return std::nullopt;
  const Kernel::Face& data = kernel_->faces[face - 1];
  const gp_Pnt at = pntOf(p);
  const SurfaceNearest nearest = nearestOnSurface(data, at);
  // The surface's nearest point, when on the face, is the face's; otherwise the face's nearest point is an
  // extremum inside it or lies on its boundary.
  std::optional<FacePoint> best = nearest.overallInside ? nearest.overall : nearest.inside;
  if (!nearest.overallInside) {
    double bestDistance2 =
        best ? at.SquareDistance(pntOf(best->point)) : std::numeric_limits<double>::infinity();
    std::optional<gp_Pnt> boundary;
    for (uint32_t edge : data.edges) {
      const Kernel::Edge& e = kernel_->edges[edge - 1];
      if (BoxTree::distance2(e.box, p) >= bestDistance2) continue;
      const Nearest n = nearestOnEdge(e, at);
      if (n.distance2 < bestDistance2) {
        bestDistance2 = n.distance2;
        boundary = n.point;
      }
    }
    if (boundary) {
      std::optional<FacePoint> onSurface = nearestOnSurface(data, *boundary).overall;
      if (!onSurface) return std::nullopt;
      best = FacePoint{0, pointOf(*boundary), onSurface->parameter};
    }
  }
  if (best) best->face = face;
  return best;
}

std::optional<BrepModel::FacePoint> BrepModel::closestOnFaces(const Point& p) const {
  std::lock_guard lock(kernel_->turn);
  const gp_Pnt at = pntOf(p);
  return kernel_->faceTree.nearest<FacePoint>(
      p, [&](uint32_t i) -> std::optional<std::pair<double, FacePoint>> {
        std::optional<FacePoint> found = nearestOnFace(i + 1, p);
        if (!found) return std::nullopt;
        return std::pair(sideDistance2(kernel_->faces[i], *found, at), *found);
      });
}

std::optional<BrepModel::EdgePoint> BrepModel::closestOnEdges(const Point& p) const {
  std::lock_guard lock(kernel_->turn);
  const gp_Pnt at = pntOf(p);
  return kernel_->edgeTree.nearest<EdgePoint>(
      p, [&](uint32_t i) -> std::optional<std::pair<double, EdgePoint>> {
        if (insideOneSurface(*kernel_, i)) return std::nullopt;
        const Nearest n = nearestOnEdge(kernel_->edges[i], at);
        if (!(n.distance2 < std::numeric_limits<double>::infinity())) return std::nullopt;
        return std::pair(n.distance2, EdgePoint{i + 1, pointOf(n.point)});
      });
}

std::optional<std::array<double, 2>> BrepModel::parameterOf(uint32_t face, const Point& p) const {
  std::lock_guard lock(kernel_->turn);
  if (face < 1 || face > faceCount()) return std::nullopt;
  std::optional<FacePoint> onSurface = nearestOnSurface(kernel_->faces[face - 1], pntOf(p)).overall;
  if (!onSurface) return std::nullopt;
  return onSurface->parameter;
}

bool BrepModel::evaluate(uint32_t face, const std::array<double, 2>& parameter, Point& point,
                         Point& normal) const {
  std::lock_guard lock(kernel_->turn);
  if (face < 1 || face > faceCount()) return false;
  gp_Pnt at;
  gp_Vec n;
  if (!outwardAt(kernel_->faces[face - 1], parameter, at, n)) return false;
  point = pointOf(at);
  normal = {n.X(), n.Y(), n.Z()};
  return true;
}
