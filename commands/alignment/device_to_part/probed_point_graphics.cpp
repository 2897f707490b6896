#include "commands/alignment/device_to_part/probed_point_graphics.h"

#include <algorithm>
#include <cmath>

#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/gfx_view.h"
#include "host_api/zel_matrix_nodes.h"
#include "host_api/zel_style_nodes.h"

namespace {

// The sphere's radius as a share of the reference object's size (its box's diagonal).
constexpr double kSphereShare = 0.005;

IZelGroupNode* sceneRoot() {
  SPtr<IGfxDoc> graphics;
  return graphics ? graphics->sceneRoot() : nullptr;
}

double objectSize(IZelDocObject* object) {
  SPtr<IGenGfxService> graphics;
  double box[6];
  if (!graphics || !graphics->objectBox(object, box)) return 1.0;
  return std::hypot(box[3] - box[0], box[4] - box[1], box[5] - box[2]);
}

ColorRGBA halved(const ColorRGBA& color) {
  return {std::clamp(color.r * 0.5f, 0.0f, 1.0f), std::clamp(color.g * 0.5f, 0.0f, 1.0f),
          std::clamp(color.b * 0.5f, 0.0f, 1.0f), 1.0f};
}

}  // namespace

void ProbedPointGraphics::draw(const std::vector<ProbedPoint>& points, const Matrix4x4& deviceToWorld,
                               IZelDocObject* reference) {
  clear();
  IZelGroupNode* root = sceneRoot();
  if (!root) return;
  group_ = createNode<IZelSeparatorNode>(root, "probed points");
  if (!group_) return;
  if (auto* style = createNode<IZelDrawStyleNode>(group_.get(), "style")) style->setDrawStyle(ZelDrawStyle{});
  IPtr<IZelThemeMaterialSource> theme;
  theme.getService();
  auto* materials = createNode<IZelDualMaterialSourceNode>(group_.get(), "located points");
  if (theme && materials) {
    theme->setThemeName("MaterialLocationSet");
    materials->setMaterialSources(theme.get(), theme.get());
  }
  if (auto* material = createNode<IZelColorMaterialNode>(group_.get(), "colour material on"))
    material->enable(1);
  if (auto* matrix = createNode<IZelMatrixNode>(group_.get(), "alignment")) matrix->setMatrix(deviceToWorld);
  // The spheres lie on the part's surface, half inside it: drawn with the depth test they would be cut.
  if (!points.empty()) {
    if (auto* depthTest = createNode<IZelDepthTestNode>(group_.get(), "depth test off"))
      depthTest->setDepthTest(false);
  }
  const double radius = kSphereShare * objectSize(reference);
  for (const ProbedPoint& probed : points) {
    auto* separator = createNode<IZelSeparatorNode>(group_.get(), "probed point");
    if (!separator) continue;
    if (auto* at = createNode<IZelMatrixNode>(separator, "at"))
      at->setMatrix(Matrix4x4::translation(probed.point));
    if (auto* color = createNode<IZelColorNode>(separator, "colour")) color->setColor(halved(probed.color));
    if (auto* sphere = createNode<IZelSphereNode>(separator, "sphere")) sphere->setRadius(radius);
  }
  if (auto* material = createNode<IZelColorMaterialNode>(group_.get(), "colour material off"))
    material->enable(0);
  group_->setVisible(true);
}

void ProbedPointGraphics::clear() {
  if (!group_) return;
  if (IZelGroupNode* root = sceneRoot()) root->removeChild(group_.get());
  group_.release();
}
