#include "commands/alignment/iterative/targets_table.h"

#include "commands/alignment/iterative/target_data.h"
#include "framework/host_glue/unit_service.h"
#include "framework/translation/tr.h"
#include "host_api/gui_dialog.h"

namespace {

constexpr int32_t kNameColumn = 1;
constexpr int32_t kAlignErrorColumn = 2;
constexpr int32_t kZoneDeviationColumn = 3;
constexpr ColorRGBA kOutOfTolerance{1, 0, 0, 1};

}  // namespace

PalperaIterativeAlignmentCmd::TargetsTable::TargetsTable(const std::vector<TargetData>& targets,
                                                         IGuiDialog* dialog)
    : targets_(targets), dialog_(dialog) {
  table_.getService();
  if (!table_) return;
  const ZelString title = tr("Targets");
  table_->initialise(3, title, title);
}

PalperaIterativeAlignmentCmd::TargetsTable::~TargetsTable() {
  if (dialog_) dialog_->setControlTable(PalperaIterativeAlignmentCmd::kTable, nullptr, nullptr);
}

void PalperaIterativeAlignmentCmd::TargetsTable::setValue(int32_t row, int32_t column, double metres,
                                                          bool shown) {
  if (!shown || isUnset(metres)) {
    table_->setText(row, column, tr("N/A"));
    return;
  }
  table_->setNumber(row, column, metres * UnitService::unitFactor(UnitService::currentLengthUnit()));
}

void PalperaIterativeAlignmentCmd::TargetsTable::refresh(int32_t minimumCount) {
  if (!table_) return;
  for (int32_t row = table_->rowCount(); row >= 2; --row) table_->removeRow(row);
  if (table_->rowCount() == 0) table_->addRow();
  table_->setText(1, kNameColumn, tr("Name"));
  table_->setText(1, kAlignErrorColumn, tr("Align Error"));
  table_->setText(1, kZoneDeviationColumn, tr("Zone Dev."));
  int32_t measured = 0;
  for (const TargetData& entry : targets_) measured += entry.nominal && entry.measured ? 1 : 0;
  const bool shown = measured >= minimumCount;
  for (const TargetData& entry : targets_) {
    const int32_t row = table_->addRow();
    table_->setText(row, kNameColumn, entry.nominal ? entry.nominal->name : ZelString());
    setValue(row, kAlignErrorColumn, entry.alignError, shown);
    setValue(row, kZoneDeviationColumn, entry.zoneDeviation, shown);
    if (shown && !entry.inTolerance) table_->setCellColor(row, kZoneDeviationColumn, kOutOfTolerance);
  }
  if (dialog_) dialog_->setControlTable(PalperaIterativeAlignmentCmd::kTable, table_.get(), nullptr);
}
