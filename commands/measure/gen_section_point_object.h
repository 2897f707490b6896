#pragma once

// The command "Cross Section Points": works on the first point object of the document, offering a slice
// thickness and the curve-fitting panel for the working size. It writes nothing to the document.
//
// Created by the host per use; main thread only.

#include <vector>

#include "commands/measure/fit_cross_section_points_widget.h"
#include "commands/measure/planar_points_command.h"
#include "framework/object/iptr.h"
#include "host_api/points.h"
#include "host_api/zel_doc.h"

class GenSectionPointObject : public PlanarPointsCommand {
 public:
  static constexpr const char* interfaceName = "GenSectionPointObject";
  static constexpr int32_t kPanelKind = 3;
  // Dialog ids.
  static constexpr int32_t kMainBox = 0;
  static constexpr int32_t kSliceOptions = 1;
  static constexpr int32_t kSliceDepth = 2;

  GenSectionPointObject();

  // When the host is ready and lets commands work on point objects.
  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  bool activate() override;
  void deactivate() override;

  IZelDocObject* pointObject() const { return pointObject_.get(); }
  RealPArray* pointArray() const { return pointArray_.get(); }
  FitCrossSectionPointsWidget* curveWidget() const { return curveWidget_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<FitCrossSectionPointsWidget> curveWidget_;
  IPtr<IZelDocObject> pointObject_;
  IPtr<RealPArray> pointArray_;
};
