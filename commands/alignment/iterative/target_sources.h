#pragma once

// What a target's bullseye asks each time the host draws it: whether the highlight ring shows, and the
// bullseye's colour. Both read the live state of their entry then, so a change shows at the next redraw
// without a rebuild. They find their entry in the command's list by its nominal target rather than keeping
// a pointer into the list, which moves when entries are added: an entry removed since draws as neither
// current nor in tolerance. The list must outlive the sources (the command clears the graphics first).
// Main thread only.

#include <utility>
#include <vector>

#include "basic_types/color.h"
#include "commands/alignment/iterative/target_data.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_scene_node.h"
#include "host_api/zel_style_nodes.h"

// The state colours of a bullseye, and the material it is drawn with.
struct BullseyeColors {
  static const ColorRGBA& inTolerance();
  static const ColorRGBA& inZone();
  static const ColorRGBA& outside();
  // Ambient 0.2, diffuse 0.8, no specular or emission.
  static const ColorSet& baseMaterial();
};

// An entry of the list, found again at every question.
class TargetEntryRef {
 public:
  TargetEntryRef(const std::vector<TargetData>& entries, TargetData::Target* nominal)
      : entries_(entries), nominal_(nominal) {}
  const TargetData* entry() const { return findEntry(entries_, nominal_.get()); }

 private:
  const std::vector<TargetData>& entries_;
  IPtr<TargetData::Target> nominal_;
};

// Shows the highlight ring of the current target only.
class PalperaIterativeAlignmentCmd::ActiveVisibilitySource : public IZelVisibilitySource,
                                                             public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ActiveVisibilitySource";

  explicit ActiveVisibilitySource(TargetEntryRef entry) : entry_(std::move(entry)) {}

  bool isVisible() override;
  bool isPickable() override { return false; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  TargetEntryRef entry_;
};

// The base material in the colour of the entry's state: in tolerance, else probe in the zone, else neither.
class PalperaIterativeAlignmentCmd::BullseyeMaterialSource : public IZelMaterialSource,
                                                             public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "BullseyeMaterialSource";

  explicit BullseyeMaterialSource(TargetEntryRef entry) : entry_(std::move(entry)) {}

  bool getMaterial(ColorSet& material) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  TargetEntryRef entry_;
};
