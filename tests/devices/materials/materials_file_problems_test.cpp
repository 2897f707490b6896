#include <gtest/gtest.h>

#include <filesystem>

#include "host/api/xml_dom.h"
#include "platform/file.h"
#include "support/text.h"
#include "tests/devices/materials/materials_fixture.h"

namespace {

using Problems = MaterialsFile;
const std::u16string kNoDialog = u"<no dialog>";

// After a failed read the library is never empty: it offers plain steel.
void expectOnlyDefaultSteel(Materials::IZelMaterials& library) {
  ASSERT_EQ(library.count(), 1);
  EXPECT_EQ(text(library.items()[1]->i18nName()), u"Steel");
  EXPECT_DOUBLE_EQ(valueOf(library, "Steel"), 1.17e-5);
  EXPECT_DOUBLE_EQ(valueOf(library, "Steel", "RefTemp"), 20.0);
}

TEST_F(Problems, AMissingFileIsShownOnceWithTheReadersReasonAndLeavesOnlySteel) {
  IPtr<Materials::ZelMaterials> library = readPath(path());
  auto shown = host_.simpleDialog().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].style, 0);
  EXPECT_NE(shown[0].text.find(u"materials.mtlx"), std::u16string::npos) << "the reason names the file";
  EXPECT_EQ(shown[0].detail, u" ");
  expectOnlyDefaultSteel(*library);
}

TEST_F(Problems, ALowerCaseRootIsRefusedWithThePathAndTheExpectedTag) {
  IPtr<Materials::ZelMaterials> library = read("<materials>" + materialXml("Brass", "") + "</materials>");
  EXPECT_EQ(message(),
            u"Error parsing xml file " + text(path()) + u": The top level object is not \"Materials\"");
  expectOnlyDefaultSteel(*library);
}

TEST_F(Problems, ABareDrivePathGetsItsBackslashInTheTopLevelMessage) {
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(scratch_.system());
  scratch_.write("X:", "<Library/>");
  readPath(ZelString(u"X:"));
  std::filesystem::current_path(previous);
  EXPECT_EQ(message(), u"Error parsing xml file X:\\: The top level object is not \"Materials\"");
}

TEST_F(Problems, AnUnsupportedTypeIsNamedAndEndsTheReadingKeepingTheWholeMaterialsBefore) {
  IPtr<Materials::ZelMaterials> library =
      readMaterials(materialXml("Brass", expansionXml("1.9e-5")) +
                    materialXml("Invar", expansionXml("1.2e-6", "float")) + materialXml("Later", ""));
  EXPECT_EQ(message(), u"Unsupported property type: float");
  EXPECT_EQ(library->count(), 1) << "no half-read material";
  EXPECT_DOUBLE_EQ(valueOf(*library, "Brass"), 1.9e-5);
  EXPECT_EQ(library->find(ZelCString("Steel")), nullptr);
}

TEST_F(Problems, AMaterialWithoutItsKeyAfterTwoGoodOnesKeepsBothAndGetsNoSteel) {
  IPtr<Materials::ZelMaterials> library =
      readMaterials(materialXml("Brass", "") + materialXml("Invar", "") + materialXml(nullptr, ""));
  EXPECT_EQ(message(), u"Material element requires a name_i18n attribute");
  EXPECT_EQ(library->count(), 2);
  EXPECT_EQ(library->find(ZelCString("Steel")), nullptr);
}

TEST_F(Problems, AnEmptyRootIsNoErrorAndGetsNoDefault) {
  EXPECT_EQ(read("<Materials/>")->count(), 0);
  EXPECT_EQ(message(), kNoDialog);
}

TEST_F(Problems, AMaterialWithAFloatThatIsNotOneDecimalNumberIsLeftOutNamedWithItsLineAndTheRestRead) {
  for (const char* bad : {"", "abc", "1,17e-5", "12 mm", "nan", "-inf", "1e999", "0x1p3", "+-1"}) {
    SCOPED_TRACE(bad);
    IPtr<Materials::ZelMaterials> library = readMaterials(
        "\n" + materialXml("Brass", expansionXml("1.9e-5")) + "\n" + materialXml("Brass", expansionXml(bad)) +
        "\n" + materialXml("Invar", expansionXml(" +1.2e-6\n")));
    EXPECT_EQ(message(), u"Material Brass was left out: its float value Value on line 3 is not a number");
    EXPECT_DOUBLE_EQ(valueOf(*library, "Brass"), 1.9e-5) << "the earlier Brass is untouched";
    EXPECT_DOUBLE_EQ(valueOf(*library, "Invar"), 1.2e-6);
  }
  readMaterials(materialXml("Tin", expansionXml("x")) + "\n" + materialXml("Lead", expansionXml("y")));
  EXPECT_EQ(message(),
            u"Material Tin was left out: its float value Value on line 1 is not a number\n"
            u"Material Lead was left out: its float value Value on line 2 is not a number")
      << "every material left out, in one dialog";
}

TEST_F(Problems, ADirectoryIsNoMaterialsFile) {
  std::filesystem::create_directory(scratch_.system("materials.mtlx"));
  IPtr<Materials::ZelMaterials> library = readPath(path());
  EXPECT_EQ(message(),
            u"Not a regular file: " + text(ZelString(platform::systemPath(path().c_str()).c_str())));
  expectOnlyDefaultSteel(*library);
}

TEST_F(Problems, AHostWithoutAnXmlReaderOrDialogsStillEndsWithSteel) {
  host_.root().setServiceFactory(IZelDOMXmlV2::interfaceName, nullptr);
  readPath(path());
  EXPECT_EQ(message(), u"Cannot read " + text(path()));
  host_.root().setService(IGuiSimpleDlg::interfaceName, nullptr);
  expectOnlyDefaultSteel(*readPath(path()));
}

}  // namespace
