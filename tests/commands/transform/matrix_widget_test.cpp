#include "commands/transform/matrix_widget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "framework/host_glue/unit_service.h"
#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "host/core/host_unit_service.h"
#include "host_api/data_store.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/text.h"

namespace {

constexpr int32_t kMetre = 7;

class MatrixWidgetTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    store_.getService();
    ASSERT_TRUE(store_);
    widget_.createInstance(classIdOf("MatrixWidget"));
    ASSERT_TRUE(widget_);
    void* found = nullptr;
    widget_->queryInterface("MatrixWidget", &found, false);
    matrix_ = static_cast<MatrixWidget*>(found);
    ASSERT_TRUE(matrix_);
  }
  void TearDown() override {
    widget_.release();
    store_.release();
    ModuleTest::TearDown();
  }

  void show(const std::vector<double>& matrix, int32_t places, int32_t unit) {
    store_->setInt(nullptr, "General/Decimal Places", places);
    ASSERT_TRUE(UnitService::setCurrentLengthUnit(unit));
    matrix_->setMatrix(matrix.data());
  }
  std::u16string row(int32_t r) { return dialog().control(matrix_->idBase() + r)->text; }
  HostGuiDialog& dialog() { return host_.gui().dialog(); }

  IPtr<IZelWidget> widget_;
  MatrixWidget* matrix_ = nullptr;
  IPtr<IDataStore> store_;
};

const std::vector<double> kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

TEST_F(MatrixWidgetTest, ABoxOfFourMonospaceRowsUnderTheWidgetsIdsAndNames) {
  widget_->setName("HardwareMatrixWidget");
  store_->setInt(nullptr, "Fonts and Languages/Font Point Application", 11);
  ZelString empty;
  ASSERT_TRUE(widget_->buildGui(&dialog(), &empty));
  const int32_t b = matrix_->idBase();
  std::optional<HostGuiDialog::Control> box = dialog().control(b);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->name, u"HardwareMatrixWidget:MatrixWidget:Box");
  EXPECT_EQ(box->text, u"Alignment Matrix");
  for (int32_t r = 1; r <= 4; ++r) {
    std::optional<HostGuiDialog::Control> field = dialog().control(b + r);
    ASSERT_TRUE(field);
    EXPECT_EQ(field->name, u"HardwareMatrixWidget:Row" + std::u16string(1, u'0' + r));
    EXPECT_EQ(field->kind, "text");
    EXPECT_EQ(std::tuple(field->fontFamily, field->fontSize), std::tuple("monospace", 11));
    EXPECT_EQ(field->receiver, static_cast<IGuiReceiver*>(matrix_));
  }
  EXPECT_EQ(dialog().controls().size(), 5u);
  EXPECT_EQ(dialog().openLayouts(), 0u);
  widget_->setEnabled(false);
  EXPECT_FALSE(widget_->isEnabled());
  EXPECT_FALSE(dialog().control(b)->enabled);
  EXPECT_TRUE(dialog().control(b + 1)->enabled) << "only the box";
}

TEST_F(MatrixWidgetTest, LargeIconsChooseTheLargeFontAndAGivenTitleIsKept) {
  store_->setInt(nullptr, "Palpera/Dialog/LargeIcons", 1);
  ZelString title(u"Device");
  ASSERT_TRUE(widget_->buildGui(&dialog(), &title));
  EXPECT_EQ(dialog().control(matrix_->idBase())->text, u"Device");
  EXPECT_EQ(dialog().control(matrix_->idBase())->name, u":MatrixWidget:Box");
  EXPECT_EQ(dialog().control(matrix_->idBase() + 1)->name, u"Row1");
  EXPECT_EQ(dialog().control(matrix_->idBase() + 1)->fontSize, 20);
}

TEST_F(MatrixWidgetTest, ColumnsAlignOnTheLongestTextAndOnlyTheTranslationIsInTheUsersUnit) {
  ASSERT_TRUE(widget_->buildGui(&dialog(), nullptr));
  show(kIdentity, 3, kMetre);
  EXPECT_EQ(row(1), u"[  1.000 0.000 0.000 0.000 ]");
  EXPECT_EQ(row(4), u"[  0.000 0.000 0.000 1.000 ]");

  std::vector<double> shifted = kIdentity;
  shifted[3] = 0.5;
  show(shifted, 3, HostUnitService::kMillimetre);
  EXPECT_EQ(row(1), u"[  1.000 0.000 0.000 500.000 ]");
  EXPECT_EQ(row(2), u"[  0.000 1.000 0.000   0.000 ]");
  EXPECT_EQ(row(4), u"[  0.000 0.000 0.000   1.000 ]") << "the last row is not scaled";

  const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  show({c, -s, 0, 0.1234, s, c, 0, -0.25, 0, 0, 1, 0, 0, 0, 0, 1}, 4, HostUnitService::kMillimetre);
  EXPECT_EQ(row(1), u"[  0.8660 -0.5000 0.0000  123.4000 ]");
  EXPECT_EQ(row(2), u"[  0.5000  0.8660 0.0000 -250.0000 ]");

  std::vector<double> nearlyOne = kIdentity;
  nearlyOne[0] = 0.9999;
  show(nearlyOne, 0, kMetre);
  EXPECT_EQ(row(1), u"[  1 0 0 0 ]");
}

}  // namespace
