#pragma once

// The real-time deviation command's point table: "Label", "Deviation" and "Pass/Fail", one row per recorded
// point below the header row, shown in a table control of the command's dialog. The modifier the table is
// placed with (the command) answers which cells the user may edit and hears the edits. Main thread only.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/subject/zel_subject.h"
#include "host_api/gui_dialog.h"
#include "host_api/zel_table.h"

class PointTableWidget : public IZelListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PointTableWidget";

  // Builds the table control into the dialog under a fresh id, with the header row; without a dialog or a
  // host table there is no table, and every other operation does nothing.
  void build(IGuiDialog* dialog, IZelTableModifier* modifier);

  // A row for a recorded point: the label, the deviation in the user's unit and decimal places with the
  // unit's name, and "PASS" or "FAIL".
  void addRow(const ZelString& label, double deviation, bool pass);
  // Every row but the header.
  void clear();
  // The last row, unless only the header is left.
  void removeLastRow();
  // Writes a label cell of a point's row (row 2 and later).
  void setLabel(int32_t row, const ZelString& label);
  int32_t rowCount();
  // Shows the table again after a change.
  void refresh();

  IZelTable* table() const { return table_.get(); }
  int32_t controlId() const { return id_; }

  void onNotify(const char*, IZelSubject*, void*) override {}
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IGuiDialog* dialog_ = nullptr;  // the command's, valid while the command has its dialog
  int32_t id_ = 0;
  IPtr<IZelTable> table_;
  IZelTableModifier* modifier_ = nullptr;  // the command that owns this table
};
