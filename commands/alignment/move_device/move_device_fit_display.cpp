// The Move Device wizard's fit: the targets fitted onto the references, and the pairs and deviations shown.

#include "commands/alignment/move_device/move_device_best_fit.h"
#include "commands/alignment/move_device/move_device_controls.h"
#include "commands/alignment/move_device/move_device_widget.h"
#include "framework/translation/tr.h"

using namespace move_device_controls;

bool MoveDeviceWidget::bestFit(Matrix4x4& result, ZelString& deviations) {
  return fitTargetsOntoReferences(references_, targets_, result, deviations);
}

bool MoveDeviceWidget::computeFit() {
  dialog()->clearList(id(kPairList));
  result_ = Matrix4x4::identity();
  fitted_ = bestFit(result_, deviations_);
  setText(kPairDeviations, deviations_);
  if (fitted_) {
    for (int32_t i = 1; i <= references_.count(); ++i)
      addListEntry(kPairList, tr("Pair %1", ZelString::number(i)));
  }
  // Deleting a pair must leave the three that a fit needs.
  enable(kPairDelete, fitted_ && references_.count() > kFewestPairs);
  // Without a fit "Done" would erase the references taken before the move, which cannot be probed again:
  // the run can only be left through "Exit", saved or discarded.
  enable(kDone, fitted_);
  show(kExit, !fitted_);
  return fitted_;
}
