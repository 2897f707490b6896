#include "ui/overlay/info_graphics_iterator.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host_api/zel_image.h"

namespace {

// The host's spaces between which the anchor is carried.
constexpr int32_t kNormalisedViewSpace = 1;
constexpr int32_t kSceneSpace = 4;

// Where an extent of size pixels must start, in normalised view coordinates (-1 to 1 across a view of
// viewSize pixels), to end at the view's far edge.
double farEdgeStart(double viewSize, double size) {
  return (viewSize - size) / viewSize * 2 - 1;
}

}  // namespace

HardProbeInfoGraphics::Iterator::Iterator() {
  setHint(kImageHint);
  genGfxService_.getService();
  viewMgr_.getService();
  imageNode_ = createNode<IZelImageNode>(nullptr, "node");
}

int32_t HardProbeInfoGraphics::Iterator::reset() {
  beginCount_ = 0;
  vertexCount_ = 0;
  return 0;
}

bool HardProbeInfoGraphics::Iterator::begin(int32_t& format) {
  if (!imageSource_) return false;
  if (imageSource_->needsUpdate() && !(imageNode_ && imageSource_->render(imageNode_->image()))) return false;
  if (++beginCount_ > 1) return false;  // one pass per frame
  format = kImagePointFormat;
  vertexCount_ = 0;
  return true;
}

bool HardProbeInfoGraphics::Iterator::next(Vector3& vertex) {
  ++vertexCount_;
  return anchor(vertex);
}

bool HardProbeInfoGraphics::Iterator::anchor(Vector3& vertex) {
  IZelImage* image = imageNode_ ? imageNode_->image() : nullptr;
  if (!image || !viewMgr_ || !genGfxService_) return false;
  IZelUnknown* view = viewMgr_->currentView();
  IGfxView* area = queryPart<IGfxView>(view);
  // A view without area (a minimised window) has no corner to pin the image to.
  if (!area || area->width() <= 0 || area->height() <= 0) return false;
  const Vector3 corner{farEdgeStart(area->width(), image->width()),
                       farEdgeStart(area->height(), image->height()), 0};
  Matrix4x4 toScene;
  if (!genGfxService_->spaceTransform(toScene, kNormalisedViewSpace, kSceneSpace, 0,
                                      viewMgr_->viewIndex(view)))
    return false;
  vertex = Matrix4x4::transformPoint(toScene, corner);
  return true;
}

void HardProbeInfoGraphics::Iterator::queryInterface(const char* name, void** out, bool flag) {
  const bool found = QueryChain(name, out)
                         .classLeaf(interfaceName, this, static_cast<ZelItr*>(this))
                         .offer<IZelImageItr>(this)
                         .end();
  if (!found) ZelItr::queryInterface(name, out, flag);
}
