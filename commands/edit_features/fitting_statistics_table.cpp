#include "commands/edit_features/fitting_statistics_table.h"

#include <cstdio>
#include <string>

#include "features/compensated_points.h"
#include "framework/host_glue/unit_service.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host/api/data_store.h"

namespace {

constexpr const char* kDecimalPlacesKey = "General/Decimal Places";

int32_t decimalPlaces() {
  SPtr<IDataStore> store;
  const int32_t places = store ? store->getInt(kDecimalPlacesKey, 0) : 0;
  return places > 0 ? places : 0;
}

// The distance in metres in the user's unit, with the user's decimal places and the unit's name.
ZelString lengthText(double metres, int32_t places) {
  const int32_t unit = UnitService::currentLengthUnit();
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.*f", places, metres * UnitService::unitFactor(unit));
  return tr("%1 %2", ZelString(digits), UnitService::unitName(unit));
}

}  // namespace

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
  const int32_t places = decimalPlaces();
  const ZelString notAvailable = tr("N/A");
  addRow(tr("Property"), tr("Value"));
  addRow(tr("Number of Points"), valid ? ZelString(std::to_string(count).c_str()) : notAvailable);
  addRow(tr("Maximum Negative"), valid ? lengthText(negative, places) : notAvailable);
  addRow(tr("Maximum Positive"), valid ? lengthText(positive, places) : notAvailable);
  addRow(tr("Standard Deviation"), valid ? lengthText(deviation, places) : notAvailable);
}
