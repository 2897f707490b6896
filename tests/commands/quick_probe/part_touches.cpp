#include "part_touches.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using Point = BrepModel::Point;
using Kind = BrepModel::SurfaceKind;

// Enough for a cone's fit, spread over the surface.
constexpr size_t kSamplesPerFeature = 12;
constexpr int32_t kPointsPerTriangle = 8;
constexpr size_t kTrianglesPerFeature = 48;
// How far below (or above) an outline its wall is touched.
constexpr double kWallDepth = 0.0005;
// A wall whose normal leans from the plane by less than this (its cosine) stands square to it.
constexpr double kSquare = 1e-9;
// Quick probe's allowance, in probe radii, with room to spare.
constexpr double kAllowanceRadii = 1.6;

Vector3 vectorOf(const Point& p) {
  return {p[0], p[1], p[2]};
}

Point pointOf(const Vector3& v) {
  return {v.x, v.y, v.z};
}

struct Touch {
  Vector3 surface;
  Vector3 normal;  // out of the material
};

std::optional<Touch> touchOnFace(const BrepModel& model, uint32_t face, const Vector3& near) {
  const std::optional<BrepModel::FacePoint> on = model.closestOnFace(face, pointOf(near));
  Point point, normal;
  if (!on || !model.evaluate(face, on->parameter, point, normal)) return std::nullopt;
  return Touch{vectorOf(point), vectorOf(normal)};
}

double squaredDistance(const Vector3& a, const Point& b) {
  return (a - vectorOf(b)).squaredLength();
}

// The n-th of a sequence of points spread unevenly over a triangle of the tessellation, so that the touches
// on a wall stand at many heights, not in the rings a fit cannot tell apart.
Vector3 pointInTriangle(const BrepModel::Tessellation& mesh, size_t triangle, int32_t n) {
  double a = std::fmod(0.1 + n * 0.6180339887, 1.0), b = std::fmod(0.3 + n * 0.4142135624, 1.0);
  if (a + b > 1) a = 1 - a, b = 1 - b;
  const std::array<int32_t, 3>& corners = mesh.triangles[triangle];
  const Vector3 p0 = vectorOf(mesh.vertices[corners[0]]), p1 = vectorOf(mesh.vertices[corners[1]]),
                p2 = vectorOf(mesh.vertices[corners[2]]);
  return p0 + (p1 - p0) * a + (p2 - p0) * b;
}

// Every k-th, so that at most kSamplesPerFeature remain, spread as the candidates are.
std::vector<Vector3> spread(const std::vector<Vector3>& candidates) {
  std::vector<Vector3> chosen;
  const size_t step = std::max<size_t>(1, candidates.size() / kSamplesPerFeature);
  for (size_t i = 0; i < candidates.size() && chosen.size() < kSamplesPerFeature; i += step)
    chosen.push_back(candidates[i]);
  return chosen;
}

bool isAnalytic(Kind kind) {
  return kind == Kind::plane || kind == Kind::cylinder || kind == Kind::cone || kind == Kind::sphere;
}

// Ball centres over the faces of one surface, each nearer to its surface than to any edge by the allowance.
std::optional<FeatureTouches> surfaceTouches(const BrepModel& model, uint32_t first, double radius) {
  const std::vector<uint32_t>& group = model.sameSurfaceFaces(first);
  const BrepModel::Tessellation& mesh = model.tessellation();
  const double allowance = kAllowanceRadii * radius;
  std::vector<Vector3> candidates;
  std::optional<Touch> last;
  std::vector<size_t> triangles;
  for (size_t t = 0; t < mesh.triangles.size(); ++t) {
    if (std::find(group.begin(), group.end(), mesh.triangleFaces[t]) != group.end()) triangles.push_back(t);
  }
  // A few dozen triangles spread over the surface give candidates enough; a finely tessellated sphere has
  // thousands.
  const size_t stride = std::max<size_t>(1, triangles.size() / kTrianglesPerFeature);
  for (size_t i = 0; i < triangles.size(); i += stride) {
    const size_t t = triangles[i];
    for (int32_t k = 0; k < kPointsPerTriangle; ++k) {
      const std::optional<Touch> touch =
          touchOnFace(model, mesh.triangleFaces[t], pointInTriangle(mesh, t, k + kPointsPerTriangle * t));
      if (!touch) continue;
      const Vector3 centre = touch->surface + touch->normal * radius;
      const std::optional<BrepModel::FacePoint> face = model.closestOnFaces(pointOf(centre));
      const std::optional<BrepModel::EdgePoint> edge = model.closestOnEdges(pointOf(centre));
      if (!face || std::find(group.begin(), group.end(), face->face) == group.end()) continue;
      if (edge && squaredDistance(centre, face->point) >=
                      squaredDistance(centre, edge->point) - allowance * allowance)
        continue;
      candidates.push_back(centre);
      last = touch;
    }
  }
  if (candidates.size() < kSamplesPerFeature) return std::nullopt;
  const char* kinds[] = {"plane", "cylinder", "cone", "sphere"};
  return FeatureTouches{
      std::string(kinds[static_cast<int>(model.surface(first).kind)]) + " of face " + std::to_string(first),
      spread(candidates), last->surface + last->normal * (3 * radius)};
}

// The wall beside an outline point: a point of the edge's other face, just off the plane along its normal.
std::optional<Touch> wallTouch(const BrepModel& model, uint32_t wall, const Vector3& onEdge,
                               const Vector3& planeNormal) {
  std::optional<Touch> best;
  double bestOff = 0;
  for (double side : {-1.0, 1.0}) {
    const Vector3 near = onEdge + planeNormal * (side * kWallDepth);
    const std::optional<Touch> touch = touchOnFace(model, wall, near);
    const double off = touch ? (touch->surface - near).length() : 1.0;
    if (touch && (!best || off < bestOff)) best = touch, bestOff = off;
  }
  return best;
}

// The edges to touch of an outline: a slot's end or corner arcs alone, since its components are those
// circles; every edge of an outline of lines alone or of arcs alone.
std::vector<uint32_t> touchedEdges(const BrepModel& model, const std::vector<uint32_t>& loop) {
  std::vector<uint32_t> arcs;
  for (uint32_t edge : loop) {
    if (model.curve(edge).kind == BrepModel::CurveKind::circle) arcs.push_back(edge);
  }
  return arcs.empty() ? loop : arcs;
}

std::optional<FeatureTouches> outlineTouches(const BrepModel& model, uint32_t plane,
                                             const std::vector<uint32_t>& loop, double radius) {
  const Vector3 normal = vectorOf(model.surface(plane).axis);
  constexpr int32_t kSteps = 12;
  FeatureTouches touches;
  std::optional<Touch> last;
  for (uint32_t edge : touchedEdges(model, loop)) {
    const std::array<uint32_t, 2> faces = model.edgeFaces(edge);
    const uint32_t wall = faces[0] == plane ? faces[1] : faces[0];
    const std::vector<Point> polyline = model.polyline(edge, kSteps);
    // Off the edge's ends, where other edges meet it.
    for (size_t i = 2; i + 2 < polyline.size(); ++i) {
      const std::optional<Touch> touch = wallTouch(model, wall, vectorOf(polyline[i]), normal);
      // A wall slanted to the plane (a countersink's cone, a sphere on a stand) meets a ball below the rim
      // on another circle than the rim's: such an outline is no feature to probe by its wall.
      if (!touch || std::fabs(touch->normal.dot(normal)) > kSquare) continue;
      const Vector3 centre = touch->surface + touch->normal * radius;
      const std::optional<BrepModel::EdgePoint> nearest = model.closestOnEdges(pointOf(centre));
      if (!nearest || std::find(loop.begin(), loop.end(), nearest->edge) == loop.end()) continue;
      touches.samples.push_back(centre);
      last = touch;
    }
  }
  if (touches.samples.size() < kSamplesPerFeature / 2) return std::nullopt;
  touches.what = "outline of face " + std::to_string(plane) + " through edge " + std::to_string(loop[0]);
  touches.stop = last->surface + last->normal * (3 * radius);
  return touches;
}

}  // namespace

std::vector<FeatureTouches> touchesOf(const BrepModel& model, double radius) {
  std::vector<FeatureTouches> all;
  for (uint32_t face = 1; face <= model.faceCount(); ++face) {
    if (model.sameSurfaceFaces(face).front() != face || !isAnalytic(model.surface(face).kind)) continue;
    if (std::optional<FeatureTouches> touches = surfaceTouches(model, face, radius)) all.push_back(*touches);
  }
  for (uint32_t face = 1; face <= model.faceCount(); ++face) {
    if (model.surface(face).kind != Kind::plane) continue;
    const std::vector<std::vector<uint32_t>>& loops = model.loops(face);
    // The first loop is the face's outer boundary: a part's outline, no feature.
    for (size_t i = 1; i < loops.size(); ++i) {
      if (std::optional<FeatureTouches> touches = outlineTouches(model, face, loops[i], radius))
        all.push_back(*touches);
    }
  }
  return all;
}
