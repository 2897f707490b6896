#pragma once

// The "Multiple Sections" panel of the probe cross-section command: from one base plane it lays out a family
// of parallel section planes, so many, so far apart, centred on the base plane or running one way from it.

#include <array>
#include <cstdint>
#include <memory>

#include "basic_types/plane.h"
#include "commands/measure/section_plane_list.h"
#include "framework/widgets/zel_widget.h"

// What the widget needs of the command that owns it.
class SectionPlanesOwner {
 public:
  // The four corners of the plane widget's display rectangle, in the coordinates of the section planes;
  // false, leaving corners as they were, when there is no plane widget.
  virtual bool planeRectangle(std::array<Vector3, 4>& corners) = 0;

 protected:
  ~SectionPlanesOwner() = default;
};

class MultiplePlanesWidget : public ZelWidget {
 public:
  static constexpr const char* interfaceName = "MultiplePlanesWidget";
  class Graphics;

  // owner outlives the widget.
  explicit MultiplePlanesWidget(SectionPlanesOwner& owner);
  ~MultiplePlanesWidget() override;

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
  // Scales the spacing to the working size, starts unflipped and draws the planes.
  bool activate() override;
  // Takes the planes out of the view.
  void deactivate() override;
  void setEnabled(bool enabled) override { enableBlock(enabled); }
  bool isEnabled() override { return blockEnabled(); }

  void onGuiEvent(int32_t id, int32_t value) override;
  void onGuiValue(int32_t id, double value) override;
  void onGuiValueChanged(int32_t id, int32_t value) override;

  // The working size (metres) the spacing is scaled to; set before each activation.
  void setSize(double size) { size_ = size; }
  void setBasePlane(const Plane& plane) { basePlane_ = plane; }
  const Plane& basePlane() const { return basePlane_; }
  bool flip() const { return flip_; }
  SectionPlanesOwner& owner() const { return owner_; }

  // The section planes the controls ask for now, replacing out's; false, with none, for an invalid base
  // plane.
  bool computePlanes(SectionPlaneList& out);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t id(int32_t offset) const { return idBase() + offset; }
  double value(int32_t offset);

  SectionPlanesOwner& owner_;
  std::unique_ptr<Graphics> graphics_;  // between activation and deactivation
  double size_ = 0.0;
  Plane basePlane_;
  bool flip_ = false;
};
