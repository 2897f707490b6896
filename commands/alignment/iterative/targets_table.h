#pragma once

// The iterative alignment's "Targets" table: one row per target under the header row, with its name, align
// error and zone deviation in the user's length unit. Values show only once enough targets are measured to
// align; before that, and for a value not computed, the cell reads "N/A". The zone deviation of a target out
// of tolerance is red. Placed in the dialog's table control while it lives. Main thread only.

#include <cstdint>
#include <vector>

#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "framework/object/iptr.h"
#include "host_api/zel_table.h"

class PalperaIterativeAlignmentCmd::TargetsTable {
 public:
  // targets and dialog outlive the table.
  TargetsTable(const std::vector<TargetData>& targets, IGuiDialog* dialog);
  ~TargetsTable();
  TargetsTable(const TargetsTable&) = delete;
  TargetsTable& operator=(const TargetsTable&) = delete;

  // Rows for the targets as they are now; values only with at least minimumCount measured targets.
  void refresh(int32_t minimumCount);

 private:
  void setValue(int32_t row, int32_t column, double metres, bool shown);

  const std::vector<TargetData>& targets_;
  IGuiDialog* dialog_;
  IPtr<IZelTable> table_;
};
