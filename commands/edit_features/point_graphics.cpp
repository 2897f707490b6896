// The edited feature's sampled points in the view: a small sphere at each point, sized by the object, in the
// theme's colour for probed points, or for selected ones; under them the points themselves, which the view
// picks in.

#include "basic_types/zel_cstring.h"
#include "commands/edit_features/palpera_edit_features_cmd.h"
#include "commands/edit_features/point_iterator.h"
#include "framework/host_glue/theme_color.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/host_class_ids.h"
#include "host_api/object_size_source.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_matrix_nodes.h"
#include "host_api/zel_node_factory.h"
#include "host_api/zel_style_nodes.h"

namespace {

constexpr const char* kNodeName = "node";
// The spheres' radius as a share of the object's size.
constexpr double kSphereShare = 0.005;
constexpr double kColorScale = 0.5;

ZelDrawStyle pointStyle() {
  ZelDrawStyle style;
  style.style = 1;
  style.pointSize = 3.0;
  style.lineWidth = 1.0;
  style.frontColor = style.backColor = {0.5f, 0.5f, 0.5f, 1.0f};
  return style;
}

// The theme's colour of that name at half strength; black when the theme has none.
ColorRGBA halfThemeColor(const char* name) {
  const ColorRGBA color = themeColor(name, {0, 0, 0, 1});
  return ColorRGBA::fromScaled(Color{color.r, color.g, color.b}, kColorScale);
}

void addColor(IZelUnknown* parent, const ColorRGBA& color) {
  if (auto* node = createNode<IZelColorNode>(parent, kNodeName)) node->setColor(color);
}

// The material every sphere is lit with: the theme's location material, coloured by the colour nodes.
void addMaterial(IZelUnknown* parent) {
  IPtr<IZelThemeMaterialSource> theme(
      createInstance<IZelThemeMaterialSource>(kHostThemeMaterialSourceClassId));
  if (theme) theme->setThemeName("MaterialLocationSet");
  if (auto* dual = createNode<IZelDualMaterialSourceNode>(parent, kNodeName))
    dual->setMaterialSources(theme.get(), theme.get());
  if (auto* colorMaterial = createNode<IZelColorMaterialNode>(parent, kNodeName)) colorMaterial->enable(1);
}

}  // namespace

void PalperaEditFeaturesCmd::buildPointGraphics() {
  if (!sceneNode_) return;
  sceneNode_->removeAllChildren();
  const EditState* state = currentState();
  if (!state || !state->feature) return;
  IZelGroupNode* parent = sceneNode_.get();
  if (auto* style = createNode<IZelDrawStyleNode>(parent, kNodeName)) style->setDrawStyle(pointStyle());
  addMaterial(parent);
  addColor(parent, halfThemeColor("ColorHardProbedPoints"));
  // One sphere for every point, placed and sized by the nodes before it.
  IPtr<IZelSphereNode> sphere(createNode<IZelSphereNode>(nullptr, "sphere"));
  if (sphere) sphere->setRadius(1.0);
  const ColorRGBA selected = halfThemeColor("ColorSelectedHardProbedPoints");
  const PointList& points = state->groups.points;
  for (size_t i = 0; i < points.size(); ++i) {
    auto* point = queryPart<IZelGroupNode>(createNode<IZelSeparatorNode>(parent, "point"));
    if (!point) continue;
    if (state->selection.test(static_cast<int32_t>(i + 1))) addColor(point, selected);
    if (auto* place = createNode<IZelMatrixNode>(point, kNodeName))
      place->setMatrix(Matrix4x4::translation(points[i]));
    IPtr<IObjectSizeSource> size(createInstance<IObjectSizeSource>(kHostObjectSizeSourceClassId));
    if (size) size->setObject(object_.get(), kSphereShare);
    if (auto* scale = createNode<IZelMatrixSourceNode>(point, kNodeName)) scale->setMatrixSource(size.get());
    if (sphere) point->addChild(sphere.get());
  }
  IPtr<PointIterator> iterator(new PointIterator(points));
  if (auto* picked = createNode<IZelStaticIteratorNode>(parent, "points", iterator.get()))
    picked->setInBounds(true);
}
