#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/gui/host_gui_dialog.h"
#include "host/gui/host_table.h"
#include "host_api/zel_table.h"
#include "platform/utf8.h"
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

// Answers for the cells as a command does: only column 1 below the header may be edited; notes each change.
class LabelModifier : public IZelTableModifier, public HostUnknown {
 public:
  bool isCellEditable(int32_t row, int32_t column) override { return row > 1 && column == 1; }
  void cellChanged(int32_t row, int32_t column, const ZelString& text) override {
    changes.push_back(std::to_string(row) + "," + std::to_string(column) + " " +
                      platform::toUtf8(text.c_str()));
  }
  void subjectCreated(IZelUnknown*) override {}
  void subjectDestroyed(IZelUnknown*) override {}
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("LabelModifier", this, this).offer<IZelTableModifier>(this).end();
  }
  const char* className() override { return "LabelModifier"; }

  std::vector<std::string> changes;
};

TEST_F(Table, AUserEditsOnlyTheCellsTheModifierAllowsAndColumnsKeepTheirTypes) {
  auto* typed = dynamic_cast<IZelTableV2*>(table_.get());
  ASSERT_TRUE(typed);
  EXPECT_TRUE(typed->setColumnType(2, "String"));
  EXPECT_FALSE(typed->setColumnType(3, "String") || typed->setColumnType(1, ""));
  EXPECT_STREQ(typed->columnType(2), "String");
  EXPECT_STREQ(typed->columnType(1), "");

  HostGuiDialog& dialog = host_.gui().dialog();
  ASSERT_TRUE(dialog.registerControl(1, "guiBaseId_", IGuiBaseV3::kTableControl, IGuiBaseV3::kDefaultSize));
  EXPECT_FALSE(dialog.registerControl(2, "slider", 174, IGuiBaseV3::kDefaultSize))
      << "no control of that kind";
  table_->addRow();
  table_->addRow();
  dialog.setControlTable(1, table_.get(), nullptr);
  EXPECT_FALSE(dialog.editCell(1, 2, 1, u"P")) << "without a modifier nothing is editable";
  IPtr<LabelModifier> modifier(new LabelModifier);
  dialog.setControlTable(1, table_.get(), modifier.get());
  EXPECT_FALSE(dialog.editCell(1, 1, 1, u"header"));
  EXPECT_FALSE(dialog.editCell(1, 2, 2, u"value"));
  EXPECT_FALSE(dialog.editCell(1, 3, 1, u"past the rows"));
  EXPECT_TRUE(dialog.editCell(1, 2, 1, u"Bore"));
  EXPECT_EQ(cell(2, 1), u"Bore");
  EXPECT_EQ(modifier->changes, std::vector<std::string>{"2,1 Bore"});
}

using CoordinateSystems = ModuleTest;

TEST_F(CoordinateSystems, TheActiveOneTurnsVectorsAndIsNeverScaled) {
  HostCSysService& csys = host_.document().csys();
  double world[3] = {1, 2, 3}, active[3];
  csys.worldToActiveVector(world, active);
  EXPECT_EQ(Vector3(active[0], active[1], active[2]), Vector3(1, 2, 3)) << "the world's axes until set";
  Matrix4x4 scaled;
  scaled.m[0] = 2;
  EXPECT_FALSE(csys.setActive(scaled));
  ASSERT_TRUE(csys.setActive(Matrix4x4::rotation({0, 0, 1}, M_PI / 2) * Matrix4x4::translation({5, 0, 0})));
  csys.worldToActiveVector(world, active);
  EXPECT_NEAR(active[0], 2, 1e-12) << "the world's y is the active x";
  EXPECT_NEAR(active[1], -1, 1e-12);
  EXPECT_NEAR(active[2], 3, 1e-12);
}

}  // namespace
