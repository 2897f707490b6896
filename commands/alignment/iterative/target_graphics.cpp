#include "commands/alignment/iterative/target_graphics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "basic_types/zel_cstring.h"
#include "commands/alignment/iterative/shape_iterators.h"
#include "commands/alignment/iterative/target_sources.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/gui_themes.h"
#include "host_api/host_class_ids.h"
#include "host_api/object_size_source.h"
#include "host_api/zel_material_nodes.h"
#include "host_api/zel_matrix_nodes.h"
#include "host_api/zel_node_factory.h"
#include "host_api/zel_primitive_itr.h"

namespace {

constexpr double kPhi = std::numbers::phi;
// The label: the host's default size, half a label height right and one down, a 23-point font.
constexpr double kLabelSize = 0;
constexpr double kLabelOffsetX = 0.5;
constexpr double kLabelOffsetY = -1.0;
constexpr int32_t kLabelAnchor = 0;
constexpr int32_t kLabelPointSize = 23;
constexpr double kZoneLineWidth = 3.0;
constexpr uint16_t kSolidPattern = 65535;
constexpr double kSphereShare = 0.005;

struct Palette {
  ColorRGBA black{0, 0, 0, 1};
  ColorRGBA magenta{1, 0, 1, 1};
  ColorRGBA white{1, 1, 1, 1};
  ColorRGBA grey;
  ColorRGBA labelDefault{0.5f, 0.5f, 0.5f, 1};
};

const Palette& palette() {
  static const Palette colors = [] {
    Palette p;
    const float k = static_cast<float>(1 - 1 / kPhi);
    p.grey = {k, k, k, 1};
    return p;
  }();
  return colors;
}

ColorSet highlightMaterial() {
  return ColorSet{{0.2f, 0.2f, 0.2f, 1}, palette().magenta, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0}, 2};
}

ColorSet whiteMaterial() {
  ColorSet material = BullseyeColors::baseMaterial();
  material.diffuse = palette().white;
  return material;
}

// The theme's colour of that name, or the labels' grey.
ColorRGBA themeColor(IGuiTheme* theme, const char* name) {
  ColorRGBA color = palette().labelDefault;
  if (theme) theme->color(name, color);
  return color;
}

// A shape drawn by a static iterator node, left out of the view's bounds.
void addShape(IZelUnknown* parent, IZelItr* shape) {
  IPtr<IZelItr> held(shape);
  if (!parent) return;
  if (auto* node = createNode<IZelStaticIteratorNode>(parent, "node", held.get())) node->setInBounds(false);
}

void addColor(IZelUnknown* parent, const ColorRGBA& color) {
  if (!parent) return;
  if (auto* node = createNode<IZelColorNode>(parent, "node")) node->setColor(color);
}

void addMaterial(IZelUnknown* parent, const ColorSet& material) {
  if (!parent) return;
  if (auto* node = createNode<IZelMaterialNode>(parent, "node")) node->setMaterial(material);
}

void addMaterialSource(IZelUnknown* parent, IZelMaterialSource* source) {
  if (!parent) return;
  if (auto* node = createNode<IZelMaterialSourceNode>(parent, "node")) node->setMaterialSource(source);
}

void addDrawStyle(IZelUnknown* parent, const ZelDrawStyle& style) {
  if (!parent) return;
  if (auto* node = createNode<IZelDrawStyleNode>(parent, "node")) node->setDrawStyle(style);
}

// A node made without a parent would belong to no one: every helper makes nothing under a missing one.
IZelUnknown* addSeparator(IZelUnknown* parent, const char* name) {
  if (!parent) return nullptr;
  return createNode<IZelSeparatorNode>(parent, name);
}

void addArrow(IZelUnknown* parent, const Vector3& start, const Vector3& direction, double length) {
  IPtr<IZelLineArrowItr> arrow;
  arrow.getService();
  if (!arrow) return;
  arrow->setArrow(start, direction, length);
  addShape(parent, queryPart<IZelItr>(arrow.get()));
}

void addLabel(IZelUnknown* parent, const TargetData::Target& target) {
  if (!parent) return;
  auto* text = createNode<IZelText>(parent, "node");
  if (!text) return;
  text->setLabel(target.name, target.point, kLabelSize, kLabelOffsetX, kLabelOffsetY, kLabelAnchor,
                 kLabelPointSize);
  text->setOnTop(true);
  // Looked up at every build, never kept: a theme service kept for good would outlive its host.
  SPtr<IGuiThemes> themes;
  IGuiTheme* theme = themes ? themes->currentTheme() : nullptr;
  text->setColors(themeColor(theme, "ColorDatumLabelForeground"),
                  themeColor(theme, "ColorDatumLabelBackground"));
}

}  // namespace

BullseyeRadii::BullseyeRadii(double criticalDistance) {
  static const double factor1 = 1 - 1 / kPhi;
  static const double factor2 = (1 - factor1) / kPhi + factor1;
  const double h = criticalDistance / 2;
  r1 = factor1 * h;
  r2 = factor2 * h;
  r3 = h;
  r4 = 1.05 * h;
  r5 = (1 - factor2 + 1.05) * h;
}

double toleranceDashHalfWidth(double tolerance, double criticalDistance) {
  const double r2 = BullseyeRadii(criticalDistance).r2;
  if (!(r2 > 0)) return 0;
  return std::min(tolerance / r2, 1.0) * 0.01 * criticalDistance;
}

TargetGraphics::TargetGraphics(IZelGroupNode* root, const std::vector<TargetData>& entries,
                               IZelDocObject* reference)
    : root_(root), entries_(entries), reference_(reference) {}

TargetGraphics::~TargetGraphics() {
  if (root_) root_->removeAllChildren();
}

void TargetGraphics::buildTargetGraphics() {
  if (!root_) return;
  root_->removeAllChildren();
  for (const TargetData& entry : entries_) {
    if (entry.nominal) buildTarget(entry);
  }
}

void TargetGraphics::buildTarget(const TargetData& entry) {
  using Cmd = PalperaIterativeAlignmentCmd;
  const TargetData::Target& nominal = *entry.nominal;
  const Vector3& c = nominal.point;
  const Vector3& n = nominal.direction;
  const BullseyeRadii radii(nominal.criticalDistance);

  auto* target = createNode<IZelSeparatorNode>(root_.get(), "target separator");
  if (!target) return;
  target->setInBounds(false);

  IZelUnknown* bullseye = addSeparator(target, "bullseye separator");
  addColor(bullseye, palette().black);
  addArrow(bullseye, c, n, radii.r3);
  IPtr<Cmd::ActiveVisibilitySource> active(new Cmd::ActiveVisibilitySource({entries_, entry.nominal.get()}));
  if (auto* highlight = createNode<IZelVisibilitySensitiveNode>(bullseye, "node")) {
    highlight->setVisibilitySource(active.get());
    addMaterial(highlight, highlightMaterial());
    addShape(highlight, new Cmd::RingIterator(c, n, radii.r4, radii.r5));
  }
  IPtr<Cmd::BullseyeMaterialSource> state(new Cmd::BullseyeMaterialSource({entries_, entry.nominal.get()}));
  addMaterialSource(bullseye, state.get());
  addShape(bullseye, new Cmd::RingIterator(c, n, radii.r2, radii.r3));
  addMaterial(bullseye, whiteMaterial());
  addShape(bullseye, new Cmd::RingIterator(c, n, radii.r1, radii.r2));
  addMaterialSource(bullseye, state.get());
  addShape(bullseye, new Cmd::DiscIterator(c, n, radii.r1));

  addLabel(addSeparator(target, "label separator"), nominal);

  IZelUnknown* zone = addSeparator(target, "tolerance zone separator");
  addColor(zone, palette().grey);
  ZelDrawStyle dashes;
  dashes.lineWidth = kZoneLineWidth;
  dashes.linePattern = kSolidPattern;
  addDrawStyle(zone, dashes);
  const double halfWidth = toleranceDashHalfWidth(entry.tolerance, nominal.criticalDistance);
  addShape(zone, new Cmd::DashedRingIterator(c, n, entry.tolerance - halfWidth, entry.tolerance + halfWidth));

  if (entry.surface) {
    IZelUnknown* sphere = addSeparator(target, "surface point separator");
    if (!sphere) return;
    addDrawStyle(sphere, ZelDrawStyle{});
    IPtr<IZelThemeMaterialSource> theme(
        createInstance<IZelThemeMaterialSource>(kHostThemeMaterialSourceClassId));
    if (theme) theme->setThemeName("MaterialLocationSet");
    if (auto* dual = createNode<IZelDualMaterialSourceNode>(sphere, "node"))
      dual->setMaterialSources(theme.get(), theme.get());
    if (auto* colorMaterial = createNode<IZelColorMaterialNode>(sphere, "node")) colorMaterial->enable(1);
    const ColorRGBA& tone = entry.inTolerance ? palette().grey : ColorRGBA{1, 0, 0, 1};
    addColor(sphere, ColorRGBA::fromScaled(Color{tone.r, tone.g, tone.b}, 0.5));
    if (auto* place = createNode<IZelMatrixNode>(sphere, "node"))
      place->setMatrix(Matrix4x4::translation(entry.surface->point));
    IPtr<IObjectSizeSource> size(createInstance<IObjectSizeSource>(kHostObjectSizeSourceClassId));
    if (size) size->setObject(reference_, kSphereShare);
    if (auto* scale = createNode<IZelMatrixSourceNode>(sphere, "node")) scale->setMatrixSource(size.get());
    if (auto* ball = createNode<IZelSphereNode>(sphere, "node")) ball->setRadius(1.0);
  }
}
