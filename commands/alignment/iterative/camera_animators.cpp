#include "commands/alignment/iterative/camera_animators.h"

#include <functional>

#include "commands/alignment/iterative/view_point.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host_api/data_store.h"
#include "host_api/gfx_view.h"
#include "host_api/view_theme.h"

namespace {

constexpr const char* kTemporaryView = "Temporary View";
constexpr const char* kSmoothKey = "View/Smooth Camera Transition";
constexpr const char* kDurationKey = "View/Smooth Camera Transition Duration";

ISGfxScene* currentScene() {
  SPtr<IGfxViewMgr> views;
  return views ? queryPart<ISGfxScene>(views->currentView()) : nullptr;
}

// Places the camera with place; when the move is to be smooth, first finds where place puts it (under a
// theme of its own that returns the camera) and has the host animate the camera there. place always runs
// last, so the camera ends exactly where it says.
void animateCamera(const std::function<void()>& place) {
  SPtr<IDataStore> store;
  ISGfxScene* scene = currentScene();
  IPtr<IZelAnimateCameraUtil> animation;
  if (store && store->getInt(kSmoothKey, 0) != 0 && scene) animation.getService();
  if (animation) {
    SGfxCameraState target;
    {
      PalperaIterativeAlignmentCmd::TemporaryViewTheme theme;
      theme.apply();
      place();
      scene->camera()->getState(target);
    }
    animation->animate(scene, target, store->getDouble(kDurationKey, 0.0));
  }
  place();
}

}  // namespace

void PalperaIterativeAlignmentCmd::TemporaryViewTheme::apply() {
  restore();
  SPtr<IViewTheme> themes;
  if (themes) id_ = themes->push(kTemporaryView, true);
}

void PalperaIterativeAlignmentCmd::TemporaryViewTheme::restore() {
  if (id_ < 0) return;
  SPtr<IViewTheme> themes;
  if (themes) themes->restoreCamera(id_);
  remove();
}

void PalperaIterativeAlignmentCmd::TemporaryViewTheme::remove() {
  if (id_ < 0) return;
  SPtr<IViewTheme> themes;
  if (themes) themes->remove(id_);
  id_ = -1;
}

void moveCameraTo(const ViewPoint& viewPoint) {
  ViewPoint placed = viewPoint;
  animateCamera([&placed] { placed.apply(); });
}

void moveCameraBack(const PalperaIterativeAlignmentCmd::TemporaryViewTheme& theme) {
  if (!theme.isApplied()) return;
  const int32_t id = theme.id();
  animateCamera([id] {
    SPtr<IViewTheme> themes;
    if (themes) themes->restoreCamera(id);
  });
}
