#pragma once

// Shows one 4x4 transform read-only in a command's dialog: a titled group box of four text fields, one per
// row, in a monospace font with the columns aligned. The translation is shown in the user's length unit,
// everything else as stored, all with the user's decimal places. The widget keeps no matrix: its command
// hands it one whenever the display is to change (setMatrix, reached by querying "MatrixWidget").
//
// Controls from the widget's first id b: the box "<name>:MatrixWidget:Box" (b) and the rows "<name>:Row1" to
// "<name>:Row4" (b + 1 to b + 4). Created by the host per request; main thread only.

#include <cstdint>

#include "framework/subject/palpera_subject_base.h"
#include "framework/widgets/zel_widget.h"

class MatrixWidget : public PalperaSubjectBase, public ZelWidget {
 public:
  static constexpr const char* interfaceName = "MatrixWidget";
  static constexpr int32_t kControlCount = 5;

  // Reserves the ids and builds the box, titled tr("Alignment Matrix") for a null or empty title. The font
  // size is chosen here, once.
  bool buildGui(IGuiDialog* dialog, const ZelString* title) override;
  bool activate() override { return true; }
  void deactivate() override {}
  // Enables or disables the box; the query asks the dialog about it.
  void setEnabled(bool enabled) override { enableBox(enabled); }
  bool isEnabled() override { return isBoxEnabled(); }

  // Shows matrix (16 doubles, row-major, translation in metres in elements 3, 7 and 11). The decimal places
  // and the unit are read at every call, so a changed preference shows at the next one. Nothing before
  // buildGui.
  void setMatrix(const double* matrix);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
