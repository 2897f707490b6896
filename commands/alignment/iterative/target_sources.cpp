#include "commands/alignment/iterative/target_sources.h"

#include "framework/object/query_chain.h"

namespace {

// A pure colour at another lightness.
ColorRGBA withLightness(float r, float g, float b, float lightness) {
  Color color{r, g, b};
  color.rgbToHsl();
  color.l = lightness;
  color.hslToRgb();
  return {color.r, color.g, color.b, 1.0f};
}

}  // namespace

const ColorRGBA& BullseyeColors::inTolerance() {
  static const ColorRGBA color = withLightness(0, 1, 0, 0.35f);
  return color;
}

const ColorRGBA& BullseyeColors::inZone() {
  static const ColorRGBA color = withLightness(0, 1, 0, 0.55f);
  return color;
}

const ColorRGBA& BullseyeColors::outside() {
  static const ColorRGBA color = withLightness(1, 0, 0, 0.35f);
  return color;
}

const ColorSet& BullseyeColors::baseMaterial() {
  static const ColorSet material{
      {0.2f, 0.2f, 0.2f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}, {0, 0, 0, 1.0f}, {0, 0, 0, 1.0f}, {0.5f, 0.0f}, 2};
  return material;
}

bool PalperaIterativeAlignmentCmd::ActiveVisibilitySource::isVisible() {
  const TargetData* entry = entry_.entry();
  return entry && entry->isCurrent;
}

void PalperaIterativeAlignmentCmd::ActiveVisibilitySource::queryInterface(const char* name, void** out,
                                                                          bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelVisibilitySource>(this).end();
}

bool PalperaIterativeAlignmentCmd::BullseyeMaterialSource::getMaterial(ColorSet& material) {
  const TargetData* entry = entry_.entry();
  material = BullseyeColors::baseMaterial();
  if (entry && entry->inTolerance) {
    material.diffuse = BullseyeColors::inTolerance();
  } else if (entry && entry->inZone) {
    material.diffuse = BullseyeColors::inZone();
  } else {
    material.diffuse = BullseyeColors::outside();
  }
  return true;
}

void PalperaIterativeAlignmentCmd::BullseyeMaterialSource::queryInterface(const char* name, void** out,
                                                                          bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelMaterialSource>(this).end();
}
