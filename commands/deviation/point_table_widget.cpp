#include "commands/deviation/point_table_widget.h"

#include "framework/host_glue/length_text.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/gui_page.h"

namespace {

constexpr const char* kControlName = "guiBaseId_";
constexpr int32_t kColumns = 3;
constexpr int32_t kLabelColumn = 1;
constexpr int32_t kDeviationColumn = 2;
constexpr int32_t kPassColumn = 3;
constexpr int32_t kHeaderRow = 1;
constexpr const char* kCellType = "String";

}  // namespace

void PointTableWidget::build(IGuiDialog* dialog, IZelTableModifier* modifier) {
  if (!dialog) return;
  dialog_ = dialog;
  modifier_ = modifier;
  id_ = dialog->reserveControlIds(1);
  if (auto* named = queryPart<IGuiBaseV3>(dialog)) {
    named->registerControl(id_, kControlName, IGuiBaseV3::kTableControl, IGuiBaseV3::kDefaultSize);
  } else {
    dialog->addControl(id_, "table", ZelString(kControlName));
  }
  table_.getService();
  if (!table_) return;
  table_->initialise(kColumns, ZelString("PointTableLabel"), ZelString("PointTableTitle"));
  if (auto* typed = queryPart<IZelTableV2>(table_.get())) {
    for (int32_t column = 1; column <= kColumns; ++column) typed->setColumnType(column, kCellType);
  }
  const int32_t header = table_->addRow();
  table_->setText(header, kLabelColumn, tr("Label"));
  table_->setText(header, kDeviationColumn, tr("Deviation"));
  table_->setText(header, kPassColumn, tr("Pass/Fail"));
  refresh();
}

void PointTableWidget::addRow(const ZelString& label, double deviation, bool pass) {
  if (!table_) return;
  const int32_t row = table_->addRow();
  table_->setText(row, kLabelColumn, label);
  table_->setText(row, kDeviationColumn, userLengthText(deviation));
  table_->setText(row, kPassColumn, pass ? tr("PASS") : tr("FAIL"));
  refresh();
}

void PointTableWidget::clear() {
  if (!table_) return;
  while (table_->rowCount() > kHeaderRow) table_->removeRow(kHeaderRow + 1);
  refresh();
}

void PointTableWidget::removeLastRow() {
  if (!table_) return;
  if (table_->rowCount() > kHeaderRow) table_->removeRow(table_->rowCount());
  refresh();
}

void PointTableWidget::setLabel(int32_t row, const ZelString& label) {
  if (!table_ || row <= kHeaderRow) return;
  table_->setText(row, kLabelColumn, label);
  refresh();
}

int32_t PointTableWidget::rowCount() {
  return table_ ? table_->rowCount() : 0;
}

void PointTableWidget::refresh() {
  if (dialog_ && table_) dialog_->setControlTable(id_, table_.get(), modifier_);
}

void PointTableWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelListener>(this).end();
}
