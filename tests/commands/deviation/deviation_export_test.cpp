// The point table and the deviation export file: through the command's Export button on a CAD box, and
// straight from a list of recorded points, with the host's scripted save dialog and question.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "commands/deviation/deviation_export.h"
#include "commands/deviation/point_table_widget.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/core/host_unit_service.h"
#include "support/file_size_limit.h"
#include "support/scratch_directory.h"
#include "support/text.h"
#include "tests/commands/support/command_fixture.h"

namespace {

constexpr int32_t kMetre = 7;
constexpr int32_t kText = 1;
constexpr int32_t kCommaSeparated = 2;
const std::string kLine = "Pt1, 10.000000, 20.000000, 26.000000, -4.500000, FAIL\r\n";

class DeviationExportTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    host_.core().units().setCurrentLengthUnit(HostUnitService::kMillimetre);
    ASSERT_TRUE(points_.create());
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    registry_->setDevice(ZelCString("HardProbe"), nullptr);
    points_.destroy();
    CommandTest::TearDown();
  }

  // The command started over a box whose top face is at z = 0.0305, with a probe of radius 0.002.
  void startOverBox() {
    host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    useEmulatorPlugin();
    device_ = addDevice("HardProbe", "IZelHardProbeDataReceiverV2");
    reference_ =
        addCadModel(host_.document().doc(), u"RefObject", boxModel({-0.1, -0.1, -0.05}, {0.1, 0.1, 0.0305}));
    host_.document().doc().setActiveObject(reference_.get());
    host_.document().doc().setCurrentObject(reference_.get());
    host_.core().dataStore().setDouble(nullptr, "Palpera/RealTimeDeviation/Tolerance", 0.0004);
    ASSERT_EQ(start("PalperaRealTimeDeviationCmd"), CommandRunner::Start::kStarted);
    device_->deliver<IZelHardProbeDataReceiver>([](auto* r) { r->setProbeRadius(0.002); });
  }
  void sample(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](auto* r) { r->onPointSampled(p); });
  }
  void undo() {
    device_->deliver<IZelHardProbeDataReceiver>(
        [](auto* r) { r->onCustomEvent(ZelCString("UndoLastSampled"), nullptr); });
  }
  void answerSave(const std::string& name, int32_t type) {
    host_.files().dialogs().queueAnswer(ScriptedFileDialogs::Answer{text(scratch_.module(name)), type});
  }
  void record(const Vector3& contact, double deviation, bool pass, const char16_t* label = u"Pt1") {
    points_.append(ZelString(label), ProbeDeviation{contact, contact, deviation, pass});
  }

  ScratchDirectory scratch_;
  DeviationPoints points_;
  TestDevice* device_ = nullptr;
  IPtr<HostDocObject> reference_;
};

TEST_F(DeviationExportTest, ACentreInsideThePartIsExportedAsItsContactPointInTheUsersUnit) {
  startOverBox();
  sample({0.01, 0.02, 0.028});
  answerSave("points.csv", kCommaSeparated);
  ASSERT_TRUE(press(3));
  EXPECT_EQ(scratch_.read("points.csv"), kLine);
  EXPECT_EQ(kLine.size(), 55u);

  // A click unticks a ticked box as a value entered does.
  ASSERT_TRUE(press(5));
  EXPECT_EQ(dialog().control(5)->value, 0);
  for (int32_t check : {6, 7}) ASSERT_TRUE(dialog().enterValue(check, 0));
  answerSave("points.txt", kText);
  ASSERT_TRUE(press(3));
  EXPECT_EQ(scratch_.read("points.txt"), "10.000000 20.000000 26.000000\r\n");

  undo();
  answerSave("none.txt", kText);
  ASSERT_TRUE(press(3));
  EXPECT_TRUE(scratch_.exists("none.txt"));
  EXPECT_EQ(scratch_.read("none.txt"), "");
}

TEST_F(DeviationExportTest, InWideModeTheFileIsUtf16AfterItsMark) {
  host_.core().enable(CoreFamily::Optional::kTranslatorService, true);
  host_.core().translator().setText("kvo:unicode", u"yes");
  startOverBox();
  sample({0.01, 0.02, 0.028});
  answerSave("wide.csv", kCommaSeparated);
  ASSERT_TRUE(press(3));
  std::string expected = "\xFF\xFE";
  for (char c : kLine) expected += std::string{c, '\0'};
  EXPECT_EQ(scratch_.read("wide.csv"), expected);
  EXPECT_EQ(expected.size(), 112u);
}

TEST_F(DeviationExportTest, TheTableRoundsToTheUsersPlacesWhileTheFileKeepsSixDecimals) {
  host_.core().dataStore().setInt(nullptr, "General/Decimal Places", 2);
  IPtr<PointTableWidget> table(new PointTableWidget);
  table->build(&dialog(), nullptr);
  table->addRow(ZelString(u"Pt1"), 0.0123456, true);
  EXPECT_EQ(text(table->table()->text(2, 2)), u"12.35 mm");
  EXPECT_EQ(text(table->table()->text(2, 3)), u"PASS");
  EXPECT_EQ(text(table->table()->text(1, 2)), u"Deviation");

  record({0, 0, 0}, 0.0123456, true);
  answerSave("places.txt", kText);
  exportDeviationPoints(points_, {false, true, false});
  EXPECT_EQ(scratch_.read("places.txt"), "0.000000 0.000000 0.000000 12.345600\r\n");
}

TEST_F(DeviationExportTest, NumbersBeyondTenBillionAreWrittenInExponentForm) {
  host_.core().units().setCurrentLengthUnit(kMetre);
  record({2e10, 1e10, -1e10}, 0, true);
  answerSave("far.txt", kText);
  exportDeviationPoints(points_, {false, false, false});
  EXPECT_EQ(scratch_.read("far.txt"), "2.000000e+10 10000000000.000000 -10000000000.000000\r\n");
}

TEST_F(DeviationExportTest, ARefusedOverwriteWritesNothingAndAnUnwritableFileIsReported) {
  record({0.001, 0.002, 0.003}, 0, true);
  answerSave("first.txt", kText);
  exportDeviationPoints(points_, {});

  scratch_.write("kept.txt", "old");
  answerSave("kept.txt", kText);
  host_.gui().simpleDialog().queueAnswer(2);
  exportDeviationPoints(points_, {});
  EXPECT_EQ(scratch_.read("kept.txt"), "old");
  EXPECT_EQ(text(ZelString(host_.gui().simpleDialog().shown().back().text.c_str())),
            u"Overwrite file " + text(scratch_.module("kept.txt")) + u"?");

  answerSave("missing/out.txt", kText);
  exportDeviationPoints(points_, {});
  const std::vector<ScriptedFileDialogs::Shown> shown = host_.files().dialogs().shown();
  EXPECT_EQ(shown[1].directory, text(scratch_.module("first.txt"))) << "the path last written";
  EXPECT_EQ(shown[2].directory, shown[1].directory) << "unchanged by the refused overwrite";
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"Unable to open file '" + text(scratch_.module("missing/out.txt")) +
                                        u"' for writing."});
  EXPECT_FALSE(scratch_.exists("missing"));
}

// A full disk once cut an earlier export of 42,890 bytes to 40 and said nothing.
TEST_F(DeviationExportTest, AnExportThatCannotBeWrittenWholeLeavesTheEarlierFileAndIsReported) {
  const std::string earlier(42890, 'e');
  scratch_.write("points.txt", earlier);
  for (int i = 0; i < 1000; ++i) record({0.001 * i, 0.002, 0.003}, 0, true);
  answerSave("points.txt", kText);
  host_.gui().simpleDialog().queueAnswer(IGuiSimpleDlg::kAnswerYes);
  {
    FileSizeLimit full(4096);
    exportDeviationPoints(points_, {});
  }
  EXPECT_EQ(scratch_.read("points.txt"), earlier);
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"Unable to write file '" + text(scratch_.module("points.txt")) +
                                        u"' whole: a file there before is left as it was."});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.system()), {}), 1)
      << "nothing beside it";
}

TEST_F(DeviationExportTest, ALabelHoldingTheSeparatorOrAQuoteIsQuotedAsASpreadsheetReadsIt) {
  record({0, 0, 0}, 0, true, u"Bore, top");
  record({0, 0, 0}, 0, true, u"say \"A\"");
  record({0, 0, 0}, 0, true, u"Pt 2");
  answerSave("labels.csv", kCommaSeparated);
  exportDeviationPoints(points_, {true, false, false});
  EXPECT_EQ(scratch_.read("labels.csv"),
            "\"Bore, top\", 0.000000, 0.000000, 0.000000\r\n"
            "\"say \"\"A\"\"\", 0.000000, 0.000000, 0.000000\r\n"
            "Pt 2, 0.000000, 0.000000, 0.000000\r\n");
  answerSave("labels.txt", kText);
  exportDeviationPoints(points_, {true, false, false});
  EXPECT_EQ(scratch_.read("labels.txt"),
            "\"Bore, top\" 0.000000 0.000000 0.000000\r\n"
            "\"say \"\"A\"\"\" 0.000000 0.000000 0.000000\r\n"
            "\"Pt 2\" 0.000000 0.000000 0.000000\r\n");
}

}  // namespace
