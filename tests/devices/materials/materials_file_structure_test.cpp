#include <gtest/gtest.h>

#include "support/text.h"
#include "tests/devices/materials/materials_fixture.h"

namespace {

using Structure = MaterialsFile;

TEST_F(Structure, AnyTagUnderTheRootIsAMaterialAndNameIsNeverAProperty) {
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

TEST_F(Structure, RepeatedNamesMergeMaterialsAndReplacePropertiesAndValues) {
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

TEST_F(Structure, TheFileLiesUnderTheDirectorySettingInBackslashForm) {
  host_.dataStore().setString(nullptr, "DefaultFileNameDirectory/common", ZelString(u"C:/Data"));
  EXPECT_EQ(text(Materials::ZelMaterialXmlReader::filePath()), u"C:\\Data\\materials\\materials.mtlx");
}

}  // namespace
