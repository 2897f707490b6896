#include "ui/overlay/single_frame_visibility_source.h"

#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"

namespace {

// The view of each layout mode that shows the overlay; -1: none. Mode 0 is a single view, shown always.
int32_t overlayViewOf(int32_t layoutMode) {
  switch (layoutMode) {
    case 1:
    case 4:
    case 6:
      return 1;
    case 2:
    case 3:
    case 5:
      return 0;
    case 7:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

HardProbeInfoGraphics::SingleFrameVisibilitySource::SingleFrameVisibilitySource() {
  viewMgr_.getService();
}

bool HardProbeInfoGraphics::SingleFrameVisibilitySource::isVisible() {
  if (!viewMgr_) {
    reportAssertion("viewMgr_", "hardprobeinfographics", __LINE__);
    return false;
  }
  const int32_t mode = viewMgr_->layoutMode();
  if (mode == 0) return true;
  const int32_t shown = overlayViewOf(mode);
  return shown >= 0 && viewMgr_->viewIndex(viewMgr_->currentView()) == shown;
}

void HardProbeInfoGraphics::SingleFrameVisibilitySource::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelVisibilitySource>(this).end();
}
