#include "commands/alignment/plane_probing/plane_fit_and_view.h"

#include <cmath>

#include "features/creators/point_fit.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host_api/gfx_view.h"

namespace {

constexpr int32_t kNormalisedViewSpace = 1;
constexpr int32_t kSceneSpace = 4;
constexpr int32_t kCurrentView = -1;

bool withinUnit(double value) {
  return value >= -1.0 && value <= 1.0;
}

}  // namespace

std::optional<Plane> fitPlane(const std::vector<Vector3>& points) {
  IPtr<IZelFeature> fitted = fitPoints(points, {.featureType = "IZelPlane", .setsWorkPlane = false});
  auto* plane = queryPart<IZelPlane>(fitted.get());
  if (!plane) return std::nullopt;
  Vector3 normal;
  double d = 0.0;
  plane->equation(normal, d);
  return Plane{normal.x, normal.y, normal.z, d};
}

bool isPointInView(const Vector3& point) {
  SPtr<IGenGfxService> graphics;
  Matrix4x4 sceneToView;
  if (!graphics || !graphics->spaceTransform(sceneToView, kSceneSpace, kNormalisedViewSpace, 0, kCurrentView))
    return false;
  const Vector3 p = Matrix4x4::transformPoint(sceneToView, point);
  return withinUnit(p.x) && withinUnit(p.y) && withinUnit(p.z);
}
