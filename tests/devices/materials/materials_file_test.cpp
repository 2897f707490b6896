#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "host/api/xml_dom.h"
#include "platform/file.h"
#include "support/text.h"
#include "tests/devices/materials/materials_fixture.h"

namespace {

using MaterialsFileTest = MaterialsFile;
const std::u16string kNoDialog = u"<no dialog>";

// After a failed read the library is never empty: it offers plain steel.
void expectOnlyDefaultSteel(Materials::IZelMaterials& library) {
  ASSERT_EQ(library.count(), 1);
  EXPECT_EQ(text(library.items()[1]->i18nName()), u"Steel");
  EXPECT_DOUBLE_EQ(valueOf(library, "Steel"), 1.17e-5);
  EXPECT_DOUBLE_EQ(valueOf(library, "Steel", "RefTemp"), 20.0);
}

TEST_F(MaterialsFileTest, AMissingFileIsShownOnceWithTheReadersReasonAndLeavesOnlySteel) {
  IPtr<Materials::ZelMaterials> library = readPath(path());
  auto shown = host_.simpleDialog().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].style, 0);
  EXPECT_NE(shown[0].text.find(u"materials.mtlx"), std::u16string::npos) << "the reason names the file";
  EXPECT_EQ(shown[0].detail, u" ");
  expectOnlyDefaultSteel(*library);
}

TEST_F(MaterialsFileTest, ABareDrivePathGetsItsBackslashInTheTopLevelMessage) {
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(scratch_.system());
  scratch_.write("X:", "<Library/>");
  readPath(ZelString(u"X:"));
  std::filesystem::current_path(previous);
  EXPECT_EQ(message(), u"Error parsing xml file X:\\: The top level object is not \"Materials\"");
}

// A file the reader refuses is shown, and keeps the whole materials read before; only a library left empty
// by an error gets plain steel.
TEST_F(MaterialsFileTest, ARefusedFileIsShownAndKeepsTheWholeMaterialsBefore) {
  const struct {
    const char* what;
    std::string xml;
    std::u16string message;
    int count;
    bool steel;
  } cases[] = {
      {"a lower-case root", "<materials>" + materialXml("Brass", "") + "</materials>",
       u"Error parsing xml file " + text(path()) + u": The top level object is not \"Materials\"", 1, true},
      {"an unsupported type ends the reading, with no half-read material",
       "<Materials>" + materialXml("Brass", expansionXml("1.9e-5")) +
           materialXml("Invar", expansionXml("1.2e-6", "float")) + materialXml("Later", "") + "</Materials>",
       u"Unsupported property type: float", 1, false},
      {"a material without its key after two good ones",
       "<Materials>" + materialXml("Brass", "") + materialXml("Invar", "") + materialXml(nullptr, "") +
           "</Materials>",
       u"Material element requires a name_i18n attribute", 2, false},
      {"an empty root is no error", "<Materials/>", kNoDialog, 0, false},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    IPtr<Materials::ZelMaterials> library = read(each.xml);
    EXPECT_EQ(message(), each.message);
    EXPECT_EQ(library->count(), each.count);
    EXPECT_EQ(library->find(ZelCString("Steel")) != nullptr, each.steel);
  }
}

TEST_F(MaterialsFileTest,
       AMaterialWithAFloatThatIsNotOneDecimalNumberIsLeftOutNamedWithItsLineAndTheRestRead) {
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

TEST_F(MaterialsFileTest, ADirectoryIsNoMaterialsFile) {
  std::filesystem::create_directory(scratch_.system("materials.mtlx"));
  IPtr<Materials::ZelMaterials> library = readPath(path());
  EXPECT_EQ(message(),
            u"Not a regular file: " + text(ZelString(platform::systemPath(path().c_str()).c_str())));
  expectOnlyDefaultSteel(*library);
}

TEST_F(MaterialsFileTest, AHostWithoutAnXmlReaderOrDialogsStillEndsWithSteel) {
  host_.root().setServiceFactory(IZelDOMXmlV2::interfaceName, nullptr);
  readPath(path());
  EXPECT_EQ(message(), u"Cannot read " + text(path()));
  host_.root().setService(IGuiSimpleDlg::interfaceName, nullptr);
  expectOnlyDefaultSteel(*readPath(path()));
}

TEST_F(MaterialsFileTest, AnyTagUnderTheRootIsAMaterialAndNameIsNeverAProperty) {
  IPtr<Materials::ZelMaterials> library = readMaterials(
      "<Alloy name_i18n=\"Ti6Al4V\" note=\"ignored\">text<Name>Titanium<X Type=\"Float\">1</X></Name>" +
      expansionXml("8.6e-6") + "</Alloy>" + materialXml("Bare", ""));
  EXPECT_EQ(message(), u"<no dialog>");
  ASSERT_EQ(library->count(), 2);
  EXPECT_EQ(text(library->items()[1]->i18nName()), u"Titanium");
  EXPECT_EQ(library->items()[1]->property(ZelCString("Name")), nullptr);
  EXPECT_DOUBLE_EQ(valueOf(*library, "Ti6Al4V"), 8.6e-6);
  EXPECT_EQ(text(library->items()[2]->i18nName()), u"") << "no Name element, no display name";
}

TEST_F(MaterialsFileTest, RepeatedNamesMergeMaterialsAndReplacePropertiesAndValues) {
  IPtr<Materials::ZelMaterials> library = readMaterials(
      materialXml("Steel", "<Name>First</Name>" + expansionXml("1") +
                               "<Density><Value Type=\"Float\">7850</Value></Density>") +
      materialXml("Steel",
                  "<Name>Second</Name><ThermalExpansionCoefficient><RefTemp Type=\"Float\">20</RefTemp>"
                  "<RefTemp Type=\"Float\">23</RefTemp></ThermalExpansionCoefficient>"));
  ASSERT_EQ(library->count(), 1);
  EXPECT_EQ(text(library->items()[1]->i18nName()), u"First");
  EXPECT_DOUBLE_EQ(valueOf(*library, "Steel", "Value", "Density"), 7850.0) << "the later element adds to it";
  EXPECT_TRUE(std::isnan(valueOf(*library, "Steel"))) << "a later property replaces all earlier values";
  EXPECT_DOUBLE_EQ(valueOf(*library, "Steel", "RefTemp"), 23.0);
}

TEST_F(MaterialsFileTest, TheFileLiesUnderTheDirectorySettingInBackslashForm) {
  host_.dataStore().setString(nullptr, "DefaultFileNameDirectory/common", ZelString(u"C:/Data"));
  EXPECT_EQ(text(Materials::ZelMaterialXmlReader::filePath()), u"C:\\Data\\materials\\materials.mtlx");
}

}  // namespace
