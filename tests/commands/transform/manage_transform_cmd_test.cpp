#include "commands/transform/palpera_manage_transform_cmd.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "commands/support/command_fixture.h"
#include "devices/alignment/alignment_services.h"
#include "devices/alignment/stored_matrix.h"
#include "framework/host_glue/unit_service.h"
#include "support/scratch_directory.h"
#include "support/text.h"
#include "test_paths.h"

namespace {

using Cmd = PalperaManageTransformCmd;

constexpr const char* kHardwareBlob = "Palpera/Alignment/Hardware Alignment";
constexpr const char* kObjectBlob = "Palpera/Alignment/Object Alignment";
constexpr const char* kLoadSoftware = "Palpera/Alignment/LoadSoftwareTransformation";
constexpr double kSteelAt25 = 0.9999415034220498;
constexpr int32_t kXalFilterEntry = 1;  // after ".tfm", the one reader the host lists

// A 30 degree turn about z written to six decimals: its columns are 3.7e-7 short of unit length.
const char* const kTurnXal = R"(<XAL><R><V n="I">0.866025</V><V n="J">-0.5</V><V n="K">0</V></R>)"
                             R"(<R><V n="I">0.5</V><V n="J">0.866025</V><V n="K">0</V></R>)"
                             R"(<R><V n="I">0</V><V n="J">0</V><V n="K">1</V></R>)"
                             R"(<O><V n="X">10</V><V n="Y">0</V><V n="Z">0</V></O></XAL>)";

std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

class ManageTransform : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    store().setString(nullptr, "DefaultFileNameDirectory/common",
                      ZelString(PALPERA_TEST_SOURCE_DIR "/../examples"));
    store().setInt(nullptr, "General/Decimal Places", 3);
    ASSERT_TRUE(UnitService::setCurrentLengthUnit(1));
    hardware_.getService();
    object_.getService();
    scale_.getService();
    ASSERT_TRUE(hardware_ && object_ && scale_);
    hardware_->setMatrix(kHardwareStart, false);
    object_->setMatrix(kObjectStart);
    scale_->setMaterial(ZelCString("Steel"), 25.0);
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    hardware_.release();
    object_.release();
    scale_.release();
    CommandTest::TearDown();
  }

  HostDataStore& store() { return host_.core().dataStore(); }
  void startCommand() { ASSERT_EQ(start(Cmd::interfaceName), CommandRunner::Start::kStarted); }
  bool stored(const char* key) {
    bool found = false;
    store().getBlob(key, nullptr, &found);
    return found;
  }
  std::vector<uint8_t> blob(const char* key) {
    uint32_t size = 0;
    bool found = false;
    auto* bytes = static_cast<const uint8_t*>(store().getBlob(key, &size, &found));
    return found ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
  }
  std::u16string row(const char* widget, int row) {
    std::u16string name = text(ZelString(widget)) + u":Row" + static_cast<char16_t>(u'0' + row);
    std::optional<int32_t> id = dialog().idOf(name);
    return id ? dialog().control(*id)->text : u"(no row)";
  }
  double shownScale() { return dialog().control(Cmd::kScaleValue)->value; }
  std::pair<std::string, double> material() {
    ZelCString name;
    double temperature = 0;
    scale_->material(name, temperature);
    return {name.c_str(), temperature};
  }
  void answerFile(const std::string& name, const std::string& content, int32_t filterEntry) {
    scratch_.write(name, content);
    host_.files().dialogs().queueAnswer(
        ScriptedFileDialogs::Answer{text(scratch_.module(name)), filterEntry});
  }
  static bool sameBits(const Matrix4x4& a, const Matrix4x4& b) {
    return std::memcmp(a.m, b.m, sizeof a.m) == 0;
  }

  const Matrix4x4 kHardwareStart = Matrix4x4::translation(Vector3(0.01, 0.02, 1.0 / 3.0));
  const Matrix4x4 kObjectStart = Matrix4x4::rotation(Vector3(0, 0, 1), 0.1);
  ScratchDirectory scratch_;
  IPtr<IZelPluginDeviceHardwareAlignmentService> hardware_;
  IPtr<IZelPluginDeviceObjectAlignmentService> object_;
  IPtr<IZelPluginDeviceScaleAlignmentService> scale_;
};

TEST_F(ManageTransform, ResetThenCancelRestoresEverythingAndResetThenApplyStoresOnlyThePartReset) {
  startCommand();
  EXPECT_FALSE(dialog().isControlEnabled(IGuiDialog::kStandardControl2));
  ASSERT_TRUE(press(Cmd::kHardwareReset));
  ASSERT_TRUE(press(Cmd::kSoftwareReset));
  ASSERT_TRUE(press(Cmd::kScaleReset));
  EXPECT_TRUE(sameBits(*hardware_->matrix(), Matrix4x4::identity()));
  EXPECT_EQ(row("HardwareMatrixWidget", 1), u"[  1.000 0.000 0.000 0.000 ]");
  ASSERT_TRUE(runner_.cancel());
  EXPECT_TRUE(sameBits(*hardware_->matrix(), kHardwareStart));
  EXPECT_TRUE(sameBits(*object_->matrix(), kObjectStart));
  EXPECT_EQ(material(), (std::pair<std::string, double>("Steel", 25.0)));
  EXPECT_FALSE(stored(kHardwareBlob));
  EXPECT_FALSE(stored(kObjectBlob));

  startCommand();
  ASSERT_TRUE(press(Cmd::kHardwareReset));
  ASSERT_TRUE(runner_.apply());
  std::array<uint8_t, 128> identity = encodeStoredMatrix(Matrix4x4::identity());
  EXPECT_EQ(blob(kHardwareBlob), std::vector<uint8_t>(identity.begin(), identity.end()));
  EXPECT_FALSE(stored(kObjectBlob)) << "the software transform did not change";
  EXPECT_EQ(material(), (std::pair<std::string, double>("Steel", 25.0))) << "apply leaves the scale alone";
}

TEST_F(ManageTransform, ATfmFileLoadsAsHardwareAndApplyStoresIt) {
  startCommand();
  host_.files().dialogs().queueAnswer(std::nullopt);
  ASSERT_TRUE(press(Cmd::kHardwareLoadFile));
  ASSERT_TRUE(runner_.apply());
  EXPECT_FALSE(stored(kHardwareBlob)) << "a cancelled load marks nothing";

  startCommand();
  answerFile("shift.tfm", "1 0 0 0.1\n0 1 0 0.2\n0 0 1 0.3\n0 0 0 1\n", 0);
  ASSERT_TRUE(press(Cmd::kHardwareLoadFile));
  EXPECT_EQ(row("HardwareMatrixWidget", 1), u"[  1.000 0.000 0.000 100.000 ]");
  EXPECT_EQ(row("HardwareMatrixWidget", 3), u"[  0.000 0.000 1.000 300.000 ]");
  ASSERT_TRUE(runner_.apply());
  std::array<uint8_t, 128> expected = encodeStoredMatrix(Matrix4x4::translation(Vector3(0.1, 0.2, 0.3)));
  EXPECT_EQ(blob(kHardwareBlob), std::vector<uint8_t>(expected.begin(), expected.end()));
  EXPECT_FALSE(stored(kObjectBlob));
}

// Four decimals put the turn's columns 2e-5 off unit length: a scale a measurement notices.
TEST_F(ManageTransform, ANotQuiteRigidFileIsRefusedAsSoftwareAndAsHardware) {
  const std::string fourDecimals = replacedAll(kTurnXal, "0.866025", "0.8660");
  startCommand();
  const std::u16string softwareRow = row("SoftwareMatrixWidget", 1);
  const std::u16string hardwareRow = row("HardwareMatrixWidget", 1);
  answerFile("turn.xal", fourDecimals, kXalFilterEntry);
  ASSERT_TRUE(press(Cmd::kSoftwareLoadFile));
  answerFile("turn.xal", fourDecimals, kXalFilterEntry);
  ASSERT_TRUE(press(Cmd::kHardwareLoadFile));
  EXPECT_TRUE(sameBits(*object_->matrix(), kObjectStart));
  EXPECT_TRUE(sameBits(*hardware_->matrix(), kHardwareStart));
  EXPECT_EQ(row("SoftwareMatrixWidget", 1), softwareRow);
  EXPECT_EQ(row("HardwareMatrixWidget", 1), hardwareRow);
  const std::u16string file = text(scratch_.module("turn.xal"));
  const std::u16string refused =
      u"The file '" + file +
      u"' holds no rigid transform without mirroring (its 3 x 3 part scales or shears by more than 1e-5): ";
  EXPECT_EQ(errorMessages(),
            (std::vector<std::u16string>{refused + u"the software transformation is unchanged.",
                                         refused + u"the hardware transformation is unchanged."}));
  ASSERT_TRUE(runner_.apply());
  EXPECT_FALSE(stored(kHardwareBlob)) << "the refused loads marked nothing";
  EXPECT_FALSE(stored(kObjectBlob));
}

// A file the usable-transform check refuses would be stored as the user's setting, and every later probing
// run would end without a feature; one that scales, shears or mirrors would stretch, skew or mirror every
// touch.
TEST_F(ManageTransform, AHardwareFileNoDeviceTransformCanBeIsRefusedNamingTheFileAndWhy) {
  const struct {
    const char* name;
    std::string content;
    int32_t entry;
    const char16_t* why;
  } cases[] = {
      {"singular.tfm", "1 0 0 0\n0 1 0 0\n0 0 0 0\n0 0 0 1\n", 0, u"singular"},
      {"huge.tfm", "1e308 0 0 0\n0 1e308 0 0\n0 0 1e308 0\n0 0 0 1\n", 0, u"scales by more"},
      {"scaled.tfm", "1e300 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n", 0, u"scales by more"},
      {"projective.tfm", "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 1 1\n", 0, u"last row"},
      {"flat.xal", replacedAll(kTurnXal, "\"K\">1<", "\"K\">0<"), kXalFilterEntry, u"singular"},
      {"doubled.tfm", "2 0 0 0\n0 2 0 0\n0 0 2 0\n0 0 0 1\n", 0, u"scales or shears"},
      {"sheared.tfm", "1 0.01 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n", 0, u"scales or shears"},
      {"mirrored.tfm", "1 0 0 0\n0 1 0 0\n0 0 -1 0\n0 0 0 1\n", 0, u"mirrors"},
  };
  startCommand();
  for (const auto& each : cases) {
    SCOPED_TRACE(each.name);
    host_.core().errors().clear();
    answerFile(each.name, each.content, each.entry);
    ASSERT_TRUE(press(Cmd::kHardwareLoadFile));
    EXPECT_TRUE(sameBits(*hardware_->matrix(), kHardwareStart));
    ASSERT_EQ(errorMessages().size(), 1u);
    EXPECT_NE(errorMessages()[0].find(text(scratch_.module(each.name))), std::u16string::npos);
    EXPECT_NE(errorMessages()[0].find(each.why), std::u16string::npos);
  }
  ASSERT_TRUE(runner_.apply());
  EXPECT_FALSE(stored(kHardwareBlob)) << "a refused load marks nothing";
}

// An old row kept in a comment before the rotation once read as its first row, and the file's third row was
// dropped: a turn of 120 degrees about (1, 1, 1) loaded as another matrix without a word.
TEST_F(ManageTransform, AnXalFileWithAnOldRowInACommentLoadsItsOwnTurnAsHardwareAndAsSoftware) {
  const std::string turned =
      R"(<XAL><!-- old: <R><V n="I">1</V><V n="J">0</V><V n="K">0</V></R> --><Rotation>)"
      R"(<R><V n="I">0</V><V n="J">0</V><V n="K">1</V></R><R><V n="I">1</V><V n="J">0</V><V n="K">0</V></R>)"
      R"(<R><V n="I">0</V><V n="J">1</V><V n="K">0</V></R></Rotation>)"
      R"(<O><V n="X">10</V><V n="Y">-20</V><V n="Z">30</V></O></XAL>)";
  Matrix4x4 expected = Matrix4x4::rotation(Vector3(1, 1, 1), 2 * M_PI / 3);
  expected.m[3] = 0.01;
  expected.m[7] = -0.02;
  expected.m[11] = 0.03;
  startCommand();
  answerFile("turned.xal", turned, kXalFilterEntry);
  ASSERT_TRUE(press(Cmd::kHardwareLoadFile));
  answerFile("turned.xal", turned, kXalFilterEntry);
  ASSERT_TRUE(press(Cmd::kSoftwareLoadFile));
  EXPECT_TRUE(errorMessages().empty());
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(hardware_->matrix()->m[i], expected.m[i], 1e-12) << i;
    EXPECT_NEAR(object_->matrix()->m[i], expected.m[i], 1e-12) << i;
  }
}

// "250,5" read as 250 would put the translation 0.5 mm off, and "0,866025" read as 0 would collapse the turn.
TEST_F(ManageTransform, AnXalFileWrittenWithDecimalCommasIsRefusedAndChangesNothing) {
  const std::string commas =
      replacedAll(replacedAll(kTurnXal, "0.866025", "0,866025"), "\"X\">10<", "\"X\">250,5<");
  startCommand();
  answerFile("commas.xal", commas, kXalFilterEntry);
  ASSERT_TRUE(press(Cmd::kSoftwareLoadFile));
  answerFile("commas.xal", commas, kXalFilterEntry);
  ASSERT_TRUE(press(Cmd::kHardwareLoadFile));
  EXPECT_TRUE(sameBits(*object_->matrix(), kObjectStart));
  EXPECT_TRUE(sameBits(*hardware_->matrix(), kHardwareStart));
  const std::u16string refused = u"Unable to open file '" + text(scratch_.module("commas.xal")) +
                                 u"' for loading: it cannot be read as a XAL Transform File.";
  EXPECT_EQ(errorMessages(), (std::vector<std::u16string>{refused, refused}));
}

TEST_F(ManageTransform, OptionsComeBackOnCancelAndSavingNeitherRefreshesNorMarks) {
  store().setInt(nullptr, kLoadSoftware, 0);
  startCommand();
  std::optional<int32_t> toggle = dialog().idOf(u"Software");
  ASSERT_TRUE(toggle);
  ASSERT_TRUE(press(*toggle));
  EXPECT_EQ(store().getInt(kLoadSoftware, -1), 1);
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(store().getInt(kLoadSoftware, -1), 0);

  startCommand();
  const std::u16string shown = row("HardwareMatrixWidget", 1);
  hardware_->setMatrix(Matrix4x4::identity(), false);
  host_.files().dialogs().queueAnswer(ScriptedFileDialogs::Answer{text(scratch_.module("saved.tfm")), 1});
  ASSERT_TRUE(press(Cmd::kHardwareSaveFile));
  EXPECT_EQ(scratch_.read("saved.tfm"), "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");
  EXPECT_EQ(row("HardwareMatrixWidget", 1), shown) << "saving does not refresh";
  ASSERT_TRUE(runner_.apply());
  EXPECT_FALSE(stored(kHardwareBlob));
  EXPECT_FALSE(stored(kObjectBlob));

  host_.gui().commandContainer().setRecordingMacro(true);
  EXPECT_EQ(start(Cmd::interfaceName), CommandRunner::Start::kCannotRun);
}

TEST_F(ManageTransform, TheScaleFieldFollowsResetAndRestoreAndCancelPutsTheTemperatureBack) {
  startCommand();
  EXPECT_EQ(shownScale(), kSteelAt25);
  ASSERT_TRUE(press(Cmd::kScaleReset));
  EXPECT_EQ(shownScale(), 1.0);
  EXPECT_EQ(material(), (std::pair<std::string, double>("Steel", 20.0)));
  ASSERT_TRUE(press(Cmd::kScaleRestore));
  EXPECT_EQ(shownScale(), kSteelAt25);
  ASSERT_TRUE(press(Cmd::kScaleReset));
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(material(), (std::pair<std::string, double>("Steel", 25.0)));
}

TEST_F(ManageTransform, EveryEventRedrawsOnceAndIdsWithoutAnActionChangeNothing) {
  startCommand();
  auto* command = static_cast<IGuiReceiver*>(command_.get());
  for (int32_t id : {0, int32_t{Cmd::kScaleValue}, 14, -19998, int32_t{Cmd::kHardwareReset}}) {
    SCOPED_TRACE(id);
    hardware_->setMatrix(kHardwareStart, false);
    const int32_t redraws = host_.scene().renderer().counts().redraws;
    command->onGuiEvent(id, 1);
    EXPECT_EQ(host_.scene().renderer().counts().redraws, redraws + 1);
    EXPECT_EQ(sameBits(*hardware_->matrix(), kHardwareStart), id != Cmd::kHardwareReset);
  }
  ASSERT_TRUE(runner_.apply());
  EXPECT_TRUE(stored(kHardwareBlob));
  EXPECT_FALSE(stored(kObjectBlob));
}

}  // namespace
