#include "features/view_framing.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "basic_types/matrix4x4.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host_api/gfx_scene.h"
#include "host_api/gfx_view.h"

namespace {

constexpr int32_t kNormalisedViewSpace = 1;
constexpr int32_t kSceneSpace = 4;
// The view spans 2 x 2 in normalised coordinates, -1 to 1 each way.
constexpr double kViewArea = 4.0;
// A box showing on less than this share of the view is too small to see well: 0.1 / golden ratio.
const double kZoomInShare = 0.1 / ((std::sqrt(5.0) + 1) / 2);
// The room left around a box the view zooms in on, in pixels of the zoomed view.
constexpr double kMarginPixels = 5.0;

// The box's corners, as the view projects them.
std::array<Vector3, 8> cornersOf(const double box[6]) {
  const double minX = box[0], minY = box[1], minZ = box[2], maxX = box[3], maxY = box[4], maxZ = box[5];
  return {{{minX, maxY, maxZ},
           {maxX, maxY, maxZ},
           {maxX, minY, maxZ},
           {minX, minY, maxZ},
           {minX, maxY, minZ},
           {maxX, maxY, minZ},
           {maxX, minY, minZ},
           {minX, minY, minZ}}};
}

// The extent {min x, min y, max x, max y} in normalised view coordinates, and whether a corner is out of
// sight.
struct Projection {
  double window[4] = {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  bool outside = false;
};

Projection project(const double box[6], const Matrix4x4& sceneToView) {
  Projection projection;
  for (const Vector3& corner : cornersOf(box)) {
    const Vector3 p = Matrix4x4::transformPoint(sceneToView, corner);
    projection.outside |= std::abs(p.x) > 1 || std::abs(p.y) > 1 || std::abs(p.z) > 1;
    projection.window[0] = std::min(projection.window[0], p.x);
    projection.window[1] = std::min(projection.window[1], p.y);
    projection.window[2] = std::max(projection.window[2], p.x);
    projection.window[3] = std::max(projection.window[3], p.y);
  }
  return projection;
}

// The window that shows the extent with the margin around it once zoomed: a half-extent h grows to
// h / (1 - m), m being the margin in normalised units of the view, which leaves exactly m beside the extent
// after the zoom, so framing the framed extent again asks for the whole view. An extent flat one way (a
// plane seen edge-on) is framed by the other; a point has nothing to frame.
bool zoomInWindow(const Projection& projection, int32_t width, int32_t height, double window[4]) {
  const double marginX = 2 * kMarginPixels / width;
  const double marginY = 2 * kMarginPixels / height;
  const double halfWidth = (projection.window[2] - projection.window[0]) / 2;
  const double halfHeight = (projection.window[3] - projection.window[1]) / 2;
  if (!(std::max(halfWidth, halfHeight) > 0) || marginX >= 1 || marginY >= 1) return false;
  const double centreX = projection.window[0] + halfWidth;
  const double centreY = projection.window[1] + halfHeight;
  const double reach = std::max(halfWidth / (1 - marginX), halfHeight / (1 - marginY));
  const double grownX = halfWidth > 0 ? halfWidth / (1 - marginX) : reach;
  const double grownY = halfHeight > 0 ? halfHeight / (1 - marginY) : reach;
  window[0] = centreX - grownX;
  window[1] = centreY - grownY;
  window[2] = centreX + grownX;
  window[3] = centreY + grownY;
  return true;
}

}  // namespace

bool computeSceneBoundingBox(IZelDocObject* target, IZelHardProbeProbeGfx* probeGraphics) {
  if (!probeGraphics) return false;
  SPtr<IGenGfxService> graphics;
  SPtr<IGfxViewMgr> views;
  if (!graphics || !views) return true;
  double box[6];
  if (!graphics->objectBox(target, box) || box[0] > box[3]) return true;
  IZelUnknown* view = views->currentView();
  auto* drawingArea = queryPart<IGfxView>(view);
  if (!queryPart<ISGfxScene>(view) || !drawingArea || drawingArea->width() <= 0 || drawingArea->height() <= 0)
    return true;
  const int32_t viewIndex = views->viewIndex(view);
  Matrix4x4 viewToScene;
  if (!graphics->spaceTransform(viewToScene, kNormalisedViewSpace, kSceneSpace, 0, viewIndex)) return true;
  const Projection projection = project(box, Matrix4x4::inverse(viewToScene));
  if (projection.outside) {
    graphics->setViewWindow(viewIndex, projection.window);
    return true;
  }
  const double share = (projection.window[2] - projection.window[0]) *
                       (projection.window[3] - projection.window[1]) / kViewArea;
  double window[4];
  if (share < kZoomInShare && zoomInWindow(projection, drawingArea->width(), drawingArea->height(), window))
    graphics->setViewWindow(viewIndex, window);
  return true;
}
