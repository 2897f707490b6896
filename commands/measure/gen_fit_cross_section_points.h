#pragma once

// The command "Fit Planar Points": fits a plane to the points of each point object of the document, keeps
// one section per object on the object's own array, warns once when a set is not planar and shows the
// curve-fitting panel for the working size. It writes nothing to the document.
//
// Created by the host per use; main thread only. The sections borrow the point objects' arrays while the
// command is active.

#include <vector>

#include "commands/measure/fit_cross_section_points_widget.h"
#include "commands/measure/planar_points_command.h"
#include "framework/object/iptr.h"
#include "gen/palpera/palpera_cross_section_fitters.h"
#include "host_api/zel_doc.h"

class GenFitCrossSectionPoints : public PlanarPointsCommand {
 public:
  static constexpr const char* interfaceName = "GenFitCrossSectionPoints";
  // The panel's kind for this command.
  static constexpr int32_t kPanelKind = 1;

  GenFitCrossSectionPoints();

  bool canRun(IZelUnknown*) override { return true; }
  void createGui(IGuiDialog* dialog) override;
  bool activate() override;
  void deactivate() override;
  // The command has no finish status: asking for one is a fault of the caller, reported as such.
  uint32_t hostQuery33() override;

  const std::vector<IPtr<SectionData>>& sections() const { return sections_; }
  FitCrossSectionPointsWidget* curveWidget() const { return curveWidget_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // A section on the object's array, or none for an object without one. Clears planar when a point lies
  // further than tolerance on the normal's side of the fitted plane.
  IPtr<SectionData> sectionOf(IZelDocObject* object, double tolerance, bool& planar);

  IPtr<FitCrossSectionPointsWidget> curveWidget_;
  std::vector<IPtr<SectionData>> sections_;  // one per point object with points, in document order
};
