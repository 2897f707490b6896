#pragma once

// The edit command's "Fitting Statistics" table: the number of points of the current feature and how far they
// lie from it (maximum negative, maximum positive, standard deviation) in the user's length unit, rounded to
// the user's decimal places; "N/A" in every value cell when there is no feature or it cannot be evaluated.
// Lives from the command's activation to its deactivation and takes its control out of the dialog when
// destroyed. Main thread only.

#include <cstdint>

#include "features/feature_statistics.h"
#include "framework/object/iptr.h"
#include "host_api/gui_dialog.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_table.h"

class FittingStatisticsTable {
 public:
  static constexpr int32_t kControlId = 2;

  // Placed in the dialog's control kControlId; without a dialog or a host table it shows nothing.
  explicit FittingStatisticsTable(IGuiDialog* dialog);
  ~FittingStatisticsTable();
  FittingStatisticsTable(const FittingStatisticsTable&) = delete;
  FittingStatisticsTable& operator=(const FittingStatisticsTable&) = delete;

  // Replaces the rows by the header and the feature's statistics; a null feature reads "N/A".
  void fill(IZelFeature* feature);

 private:
  void addRow(const ZelString& property, const ZelString& value);

  IGuiDialog* dialog_;
  IPtr<IZelTable> table_;
  FeatureStatistics statistics_;
};
