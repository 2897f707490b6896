#include "commands/edit_features/fitting_statistics_table.h"

#include <string>

#include "features/compensated_points.h"
#include "framework/host_glue/length_text.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"

FittingStatisticsTable::FittingStatisticsTable(IGuiDialog* dialog) : dialog_(dialog) {
  table_.getService();
  if (!table_) return;
  const ZelString title = tr("Fitting Statistics");
  table_->initialise(2, title, title);
  if (dialog_) dialog_->setControlTable(kControlId, table_.get(), nullptr);
}

FittingStatisticsTable::~FittingStatisticsTable() {
  if (dialog_) dialog_->setControlTable(kControlId, nullptr, nullptr);
}

void FittingStatisticsTable::addRow(const ZelString& property, const ZelString& value) {
  const int32_t row = table_->addRow();
  table_->setText(row, 1, property);
  table_->setText(row, 2, value);
}

void FittingStatisticsTable::fill(IZelFeature* feature) {
  if (!table_) return;
  for (int32_t row = table_->rowCount(); row >= 1; --row) table_->removeRow(row);
  double negative = 0.0;
  double positive = 0.0;
  double deviation = 0.0;
  const bool valid = feature && statistics_.evaluate(feature, negative, positive, deviation);
  const size_t count = valid ? getCompensatedPoints(feature).value_or(PointList{}).size() : 0;
  const ZelString notAvailable = tr("N/A");
  addRow(tr("Property"), tr("Value"));
  addRow(tr("Number of Points"), valid ? ZelString(std::to_string(count).c_str()) : notAvailable);
  addRow(tr("Maximum Negative"), valid ? userLengthText(negative) : notAvailable);
  addRow(tr("Maximum Positive"), valid ? userLengthText(positive) : notAvailable);
  addRow(tr("Standard Deviation"), valid ? userLengthText(deviation) : notAvailable);
}
