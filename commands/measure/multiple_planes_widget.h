#pragma once

// The "Multiple Sections" panel of the probe cross-section command: from one base plane it lays out a family
// of parallel section planes, so many, so far apart, centred on the base plane or running one way from it.

#include <cstdint>

#include "basic_types/plane.h"
#include "commands/measure/section_plane_list.h"
#include "framework/widgets/zel_widget.h"

class MultiplePlanesWidget : public ZelWidget {
 public:
  static constexpr const char* interfaceName = "MultiplePlanesWidget";

  // Control offsets in the widget's block.
  static constexpr int32_t kMainBox = 0;
  static constexpr int32_t kNumSections = 1;
  static constexpr int32_t kSpacing = 2;
  static constexpr int32_t kLayout = 3;
  static constexpr int32_t kFlip = 4;
  static constexpr int32_t kControlCount = 5;
  static constexpr int32_t kCentered = 0;
  static constexpr int32_t kOneWay = 1;

  // Builds the five controls into dialog, in a group titled title ("Multiple Sections" when empty).
  bool buildGui(IGuiDialog* dialog, const ZelString* title) override;
  // Scales the spacing to the working size and starts unflipped.
  bool activate() override;
  void deactivate() override {}
  void setEnabled(bool enabled) override { enableBlock(enabled); }
  bool isEnabled() override { return blockEnabled(); }

  void onGuiEvent(int32_t id, int32_t value) override;
  void onGuiValueChanged(int32_t id, int32_t value) override;

  // The working size (metres) the spacing is scaled to; set before each activation.
  void setSize(double size) { size_ = size; }
  void setBasePlane(const Plane& plane) { basePlane_ = plane; }
  const Plane& basePlane() const { return basePlane_; }
  bool flip() const { return flip_; }

  // The section planes the controls ask for now, replacing out's; false, with none, for an invalid base
  // plane.
  bool computePlanes(SectionPlaneList& out);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t id(int32_t offset) const { return idBase() + offset; }
  double value(int32_t offset);

  double size_ = 0.0;
  Plane basePlane_;
  bool flip_ = false;
};
