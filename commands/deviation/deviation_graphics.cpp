#include "commands/deviation/deviation_graphics.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_itr.h"
#include "host_api/zel_style_nodes.h"

namespace {

constexpr const char* kNodeName = "node";
// The spheres' size and the host's drawing mode and detail for them.
constexpr double kSphereSize = 3.0;
constexpr int32_t kSphereMode = 1;
constexpr int32_t kSphereDetail = 4;
// The labels' size, their offset from the point, and the host's switches for them.
constexpr double kLabelSize = 6;
constexpr double kLabelOffset = -0.2;
constexpr uint32_t kLabelFlags = 19;
constexpr ColorRGBA kLabelColor{0, 0, 0, 1};
constexpr ColorRGBA kLabelBackground{1, 1, 1, 1};

void addSpheres(IZelSeparatorNode* group, RealPArray* points) {
  IPtr<IZelPArraySphereItr> spheres;
  spheres.getService();
  if (!spheres || !spheres->setup(points, kSphereSize, kSphereMode, kSphereDetail)) return;
  createNode<IZelStaticIteratorNode>(group, kNodeName, spheres.get());
}

}  // namespace

void DeviationGraphics::build(DeviationPoints& points) {
  remove();
  SPtr<IGfxDoc> document;
  root_ = IPtr<IZelGroupNode>(document ? document->sceneRoot() : nullptr);
  pointGroup_ = IPtr<IZelSeparatorNode>(createNode<IZelSeparatorNode>(root_.get(), "deviation points"));
  if (!pointGroup_) return;
  createNode<IZelDrawStyleNode>(pointGroup_.get(), kNodeName);
  addSpheres(pointGroup_.get(), points.measuredArray());
  addSpheres(pointGroup_.get(), points.cadArray());
  labelGroup_ = IPtr<IZelSeparatorNode>(createNode<IZelSeparatorNode>(pointGroup_.get(), "deviation labels"));
}

void DeviationGraphics::refreshLabels(DeviationPoints& points) {
  auto* group = queryPart<IZelGroupNode>(pointGroup_.get());
  if (!group) return;
  // Emptied by making it anew in its place.
  if (labelGroup_) group->removeChild(labelGroup_.get());
  labelGroup_ = IPtr<IZelSeparatorNode>(createNode<IZelSeparatorNode>(pointGroup_.get(), "deviation labels"));
  if (!labelGroup_ || !showLabels_) return;
  if (auto* depthTest = createNode<IZelDepthTestNode>(labelGroup_.get(), kNodeName))
    depthTest->setDepthTest(labelDepthTest_);
  for (int32_t i = 1; i <= points.labelCount(); ++i) {
    IZelText* text = createNode<IZelText>(labelGroup_.get(), kNodeName);
    if (!text) continue;
    text->setText(points.label(i), points.measured(i), kLabelSize, kLabelOffset, kLabelOffset);
    text->setFlags(kLabelFlags);
    text->setColors(kLabelColor, kLabelBackground);
  }
}

void DeviationGraphics::remove() {
  if (root_ && pointGroup_) root_->removeChild(pointGroup_.get());
  labelGroup_.release();
  pointGroup_.release();
  root_.release();
}
