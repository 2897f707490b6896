#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "host/api/zel_table.h"
#include "host/gui/host_gui_dialog.h"
#include "host/gui/host_table.h"
#include "support/module_fixture.h"

namespace {

class Table : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    table_.getService();
    ASSERT_TRUE(table_);
    ASSERT_TRUE(table_->initialise(2, ZelString(u"Label"), ZelString(u"Targets")));
  }
  std::u16string cell(int32_t row, int32_t column) { return table_->text(row, column).c_str(); }

  IPtr<IZelTable> table_;
};

// Rows and columns count from 1: the first, the last and one past either end.
TEST_F(Table, CellsAreAddressedFromOneAndRowsBelowARemovedOneMoveUp) {
  EXPECT_FALSE(table_->initialise(0, ZelString(), ZelString())) << "a table has a column";
  EXPECT_EQ(table_->columnCount(), 2);
  for (int32_t row = 1; row <= 3; ++row) EXPECT_EQ(table_->addRow(), row);
  EXPECT_TRUE(table_->setText(1, 1, ZelString(u"Name")) && table_->setText(3, 2, ZelString(u"last")));
  for (auto [row, column] : {std::pair(0, 1), std::pair(1, 0), std::pair(4, 1), std::pair(1, 3)}) {
    SCOPED_TRACE(testing::Message() << row << ", " << column);
    EXPECT_FALSE(table_->setText(row, column, ZelString(u"x")) || table_->setNumber(row, column, 1));
    EXPECT_FALSE(table_->setCellColor(row, column, {}));
    EXPECT_EQ(cell(row, column), u"");
  }
  EXPECT_TRUE(table_->setNumber(2, 2, 0.1) && table_->setCellColor(2, 2, {1, 0, 0, 1}));
  EXPECT_EQ(cell(2, 2), u"0.1") << "the shortest text of the double";
  EXPECT_FALSE(table_->removeRow(0) || table_->removeRow(4));
  EXPECT_TRUE(table_->removeRow(2));
  EXPECT_EQ(std::tuple(table_->rowCount(), cell(2, 2)), std::tuple(2, std::u16string(u"last")));
  auto* host = dynamic_cast<HostTable*>(table_.get());
  ASSERT_TRUE(host);
  EXPECT_FALSE(host->cellColor(2, 2)) << "the coloured row was removed";
}

TEST_F(Table, OnlyATableControlShowsATableAndTheDialogLetsItGoWhenClosed) {
  HostGuiDialog& dialog = host_.gui().dialog();
  dialog.addControl(1, "table", ZelString(u"Targets"));
  dialog.addControl(2, "list", ZelString(u"Sets"));
  EXPECT_FALSE(dialog.setControlTable(2, table_.get(), nullptr));
  EXPECT_TRUE(dialog.setControlTable(1, table_.get(), nullptr));
  EXPECT_EQ(table_->refCount(), 2u);
  EXPECT_TRUE(dialog.setControlTable(1, nullptr, nullptr));
  EXPECT_EQ(table_->refCount(), 1u) << "taken away";
  dialog.setControlTable(1, table_.get(), nullptr);
  dialog.clear();
  EXPECT_EQ(table_->refCount(), 1u) << "let go of with the closed dialog";
}

}  // namespace
