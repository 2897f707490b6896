#pragma once

// The "Curve Fitting" panel of the section commands: how a curve is fitted through the points of a section
// and under which name. It proposes the next free name "Curves %1", scales its lengths to the working size
// and remembers the crease angle in the host setting "Advanced/Section Crease Angle".

#include <cstdint>

#include "basic_types/zel_string.h"
#include "framework/widgets/zel_widget.h"
#include "host_api/curve_fit_data.h"

class FitCrossSectionPointsWidget : public ZelWidget {
 public:
  static constexpr const char* interfaceName = "FitCrossSectionPointsWidget";

  // Control offsets in the panel's block.
  enum Control : int32_t {
    kMainBox,
    kConnectivity,
    kName,
    kOffset,
    kFlipOffset,
    kCreaseAngle,
    kCurveType,
    kFittingMethod,
    kFitting,
    kDistance,
    kTolerance,
    kLineArcTolerance,
    kControlPoints,
    kTension,
    kMultipleCurveObjects,
    kControlCount
  };
  enum CurveType : int32_t { kSpline, kLineArc };
  enum FittingMethod : int32_t { kLocal, kGlobal };
  enum Fitting : int32_t { kByDistance, kByTolerance, kConstant };

  // receiver is the owning command's; kind says which command made the panel.
  FitCrossSectionPointsWidget(IGuiReceiver* receiver, int32_t kind) : receiver_(receiver), kind_(kind) {}

  // The panel's group is titled title, or "Curve Fitting" when it is empty.
  bool buildGui(IGuiDialog* dialog, const ZelString* title) override;
  // Proposes the next free curve name and resets the fields to the working size.
  bool activate() override;
  void deactivate() override {}
  void setEnabled(bool enabled) override { enableBlock(enabled); }
  bool isEnabled() override { return blockEnabled(); }

  void onGuiValue(int32_t id, double value) override;
  void onGuiValueChanged(int32_t id, int32_t value) override;

  // The working size (metres) the lengths are scaled to; set before activation.
  void setWorkingSize(double size) { workingSize_ = size; }
  // The "Flip Offset Direction" check box, whether ticked by a value or toggled by a press.
  bool flipOffset();
  int32_t kind() const { return kind_; }
  IGuiReceiver* receiver() const { return receiver_; }
  int32_t id(int32_t offset) const { return idBase() + offset; }

  // Names the next curve "Curves n" and sets every field to its start for the working size.
  void reset(int32_t n);
  // Writes the chosen fit into a host curve-fit record.
  void fillCurveFitData(ICurveFitData* data);
  // One above the highest number of the current phase's curves named "Curves n"; 1 without any.
  static int32_t nextFreeCurveNumber();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void addRow(int32_t offset, const char* kind, const char16_t* name, const char* label);
  void setNumberField(int32_t offset, double minimum, double maximum, double value);
  void updateSwitchedStates();
  double value(int32_t offset);
  int32_t selection(int32_t offset);

  IGuiReceiver* receiver_;  // the owning command's, which outlives the panel
  int32_t kind_;
  double workingSize_ = 0.0;
};
