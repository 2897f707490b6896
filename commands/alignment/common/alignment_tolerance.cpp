#include "commands/alignment/common/alignment_tolerance.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/gui_simple_dialog.h"

double alignmentTolerance() {
  SPtr<IDataStore> store;
  return store ? store->getDouble(kAlignmentToleranceKey, kDefaultAlignmentTolerance)
               : kDefaultAlignmentTolerance;
}

bool askToProbeFailedPointsAgain() {
  SPtr<IGuiSimpleDlg> dialog;
  if (!dialog) return false;
  auto* atCursor = queryPart<IGuiSimpleDlgSetCursorPos>(dialog.get());
  if (atCursor) atCursor->setAtCursor(true);
  const int32_t answer =
      dialog->show(IGuiSimpleDlg::kQuestionStyle,
                   tr("One or more points are out of tolerance.\nProbe the failed points again?"),
                   ZelString(), false, false, false);
  if (atCursor) atCursor->setAtCursor(false);
  return answer == IGuiSimpleDlg::kAnswerYes;
}
