// The materials file as the module reads it, the library that holds what was read, and the one library
// the module serves. Each file test reads its own file into its own library, so the served library (read
// once per process) stays out of the way.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "devices/materials/izel_material_property_value.h"
#include "devices/materials/zel_material.h"
#include "devices/materials/zel_material_xml_reader.h"
#include "devices/materials/zel_materials.h"
#include "platform/file.h"
#include "platform/utf8.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"
#include "support/text.h"
#include "test_paths.h"

namespace {

// A material element: key (no attribute when null) and inner elements.
std::string materialXml(const char* key, const std::string& body) {
  std::string keyAttribute = key ? std::string(" name_i18n=\"") + key + "\"" : "";
  return "<Material" + keyAttribute + ">" + body + "</Material>";
}

// A property "ThermalExpansionCoefficient" with one value element "Value".
std::string expansionXml(const std::string& text, const char* type = "Float") {
  return "<ThermalExpansionCoefficient><Value Type=\"" + std::string(type) + "\">" + text +
         "</Value></ThermalExpansionCoefficient>";
}

// The double of a value of the library; NaN when it is missing or not a float.
double valueOf(Materials::IZelMaterials& library, const char* material, const char* value = "Value") {
  auto* found =
      library.value(ZelCString(material), ZelCString("ThermalExpansionCoefficient"), ZelCString(value));
  void* part = nullptr;
  if (found) found->queryInterface(Materials::IZelFloatMaterialPropertyValue::interfaceName, &part, false);
  return part ? static_cast<Materials::IZelFloatMaterialPropertyValue*>(part)->value() : std::nan("");
}

IPtr<Materials::ZelMaterials> emptyLibrary() {
  return IPtr<Materials::ZelMaterials>(new Materials::ZelMaterials(Materials::ZelMaterials::Empty{}));
}

class MaterialsFileTest : public ModuleTest {
 protected:
  // A library read from a file of these materials under a "Materials" root.
  IPtr<Materials::ZelMaterials> readMaterials(const std::string& materials) {
    return read("<Materials>" + materials + "</Materials>");
  }

  IPtr<Materials::ZelMaterials> read(const std::string& xml) {
    scratch_.write("materials.mtlx", xml);
    return readPath(path());
  }

  IPtr<Materials::ZelMaterials> readPath(const ZelString& path) {
    IPtr<Materials::ZelMaterials> library = emptyLibrary();
    Materials::ZelMaterialXmlReader().read(path, *library);
    return library;
  }

  ZelString path() const { return scratch_.module("materials.mtlx"); }

  // The text of the one dialog shown since the last call, else a marker that no text can be.
  std::u16string message() {
    auto shown = host_.gui().simpleDialog().shown();
    host_.gui().simpleDialog().clear();
    return shown.size() == 1 ? shown[0].text : shown.empty() ? u"<no dialog>" : u"<several dialogs>";
  }

  ScratchDirectory scratch_;
};

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
       u"Unsupported property type: float on line 1 in material Invar. The reading stopped there; materials "
       u"read: 1.",
       1, false},
      {"a duplicate, then an Int property: the line, the material and the materials read before",
       "<Materials>\n" + materialXml("Brass", expansionXml("1.9e-5")) + "\n" +
           materialXml("Brass", "<Density><Value Type=\"Float\">8.5</Value></Density>") + "\n" +
           materialXml("Invar", "<Density>\n<Value Type=\"Int\">8</Value></Density>") + "\n" +
           materialXml("Later", "") + "</Materials>",
       u"Unsupported property type: Int on line 5 in material Invar. The reading stopped there; materials "
       u"read: 1.",
       1, false},
      {"a material without its key after two good ones",
       "<Materials>" + materialXml("Brass", "") + materialXml("Invar", "") + materialXml(nullptr, "") +
           "</Materials>",
       u"Material element requires a name_i18n attribute on line 1. The reading stopped there; materials "
       u"read: "
       u"2.",
       2, false},
      {"an undefined entity is refused, not kept as its name",
       "<Materials>" + materialXml("Br&ass;", "") + "</Materials>",
       u"Undefined entity &ass;: " + text(ZelString(platform::systemPath(path().c_str()).c_str())) +
           u" (at byte 34)",
       1, true},
      {"an empty root is no error", "<Materials/>", u"<no dialog>", 0, false},
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
  std::string many;
  for (int i = 0; i < 25; ++i)
    many += materialXml(("M" + std::to_string(i)).c_str(), expansionXml("x")) + "\n";
  readMaterials(many + materialXml(nullptr, ""));
  const std::u16string shown = message();
  EXPECT_TRUE(shown.starts_with(u"Material M0 was left out")) << platform::toUtf8(shown);
  EXPECT_TRUE(
      shown.ends_with(u"Material M19 was left out: its float value Value on line 20 is not a number\n"
                      u"and 5 more\nMaterial element requires a name_i18n attribute on line 26. The "
                      u"reading stopped there; materials read: 0."))
      << platform::toUtf8(shown);
}

TEST_F(MaterialsFileTest, ADirectoryIsNoMaterialsFile) {
  std::filesystem::create_directory(scratch_.system("materials.mtlx"));
  IPtr<Materials::ZelMaterials> library = readPath(path());
  EXPECT_EQ(message(),
            u"Not a regular file: " + text(ZelString(platform::systemPath(path().c_str()).c_str())));
  // After a failed read the library is never empty: it offers plain steel.
  ASSERT_EQ(library->count(), 1);
  EXPECT_EQ(text(library->items()[1]->i18nName()), u"Steel");
  EXPECT_DOUBLE_EQ(valueOf(*library, "Steel"), 1.17e-5);
  EXPECT_DOUBLE_EQ(valueOf(*library, "Steel", "RefTemp"), 20.0);
}

IPtr<Materials::ZelMaterial> material(const char* key) {
  return IPtr<Materials::ZelMaterial>(new Materials::ZelMaterial(ZelCString(key), ZelString(key)));
}

TEST(MaterialsLibrary, FindIsExactAndAnswersTheFirstOfTheNameThatIsStillThere) {
  IPtr<Materials::ZelMaterials> library = emptyLibrary();
  auto first = material("Steel"), brass = material("Brass"), second = material("Steel");
  for (Materials::ZelMaterial* each : {first.get(), brass.get(), second.get()}) library->add(each);
  EXPECT_EQ(library->find(ZelCString("Steel")), first.get());
  EXPECT_EQ(library->find(ZelCString("steel")), nullptr);
  EXPECT_EQ(library->find(ZelCString("Stee")), nullptr);
  library->remove(second.get());
  EXPECT_EQ(library->find(ZelCString("Steel")), first.get());
  library->add(second.get());
  library->remove(first.get());
  EXPECT_EQ(library->find(ZelCString("Steel")), second.get());
  library->remove(second.get());
  EXPECT_EQ(library->find(ZelCString("Steel")), nullptr);
}

// A material that counts how often its key is asked for: the work a lookup does among many materials.
class CountedMaterial : public Materials::ZelMaterial {
 public:
  using ZelMaterial::ZelMaterial;
  ZelCString name() override {
    ++looks;
    return ZelMaterial::name();
  }
  static inline int64_t looks = 0;
};

// A file's materials are each found among those read before it, so reading them stays linear only while a
// lookup looks at no other material than the one it finds.
TEST(MaterialsLibrary, FindingEachOfManyMaterialsLooksAtNoOther) {
  constexpr int kMaterials = 5000;
  IPtr<Materials::ZelMaterials> library = emptyLibrary();
  std::vector<IPtr<CountedMaterial>> added;
  for (int i = 0; i < kMaterials; ++i) {
    const std::string key = "Alloy" + std::to_string(i);
    added.emplace_back(new CountedMaterial(ZelCString(key.c_str()), ZelString(u"Alloy")));
    library->add(added.back().get());
  }
  CountedMaterial::looks = 0;
  for (int i = kMaterials - 1; i >= 0; --i) {
    const std::string key = "Alloy" + std::to_string(i);
    ASSERT_EQ(library->find(ZelCString(key.c_str())), added[i].get());
  }
  EXPECT_LE(CountedMaterial::looks, kMaterials) << "a lookup that walks the list looks at half of it";
}

using ServedLibrary = ModuleTest;

// The only test that asks for the module's one library: it is read once per process.
TEST_F(ServedLibrary, TheShippedExampleGivesEveryMaterialsExpansionCoefficient) {
  ScratchDirectory directory;
  std::filesystem::create_directory(directory.system("materials"));
  std::filesystem::copy_file(PALPERA_TEST_SOURCE_DIR "/../examples/materials/materials.mtlx",
                             directory.system("materials/materials.mtlx"));
  host_.core().dataStore().setString(nullptr, "DefaultFileNameDirectory/common", directory.module());

  SPtr<Materials::IZelMaterials> library;
  ASSERT_TRUE(library);
  EXPECT_TRUE(host_.gui().simpleDialog().shown().empty());
  const std::pair<const char*, double> expected[] = {
      {"Steel", 1.17e-5},         {"StainlessSteel304", 1.73e-5},
      {"Aluminium6061", 2.36e-5}, {"Aluminium7075", 2.34e-5},
      {"Brass", 1.9e-5},          {"Ti6Al4V", 8.6e-6},
      {"Invar36", 1.2e-6},        {"CastIron", 1.05e-5}};
  EXPECT_EQ(library->count(), 8);
  for (const auto& [key, coefficient] : expected) {
    EXPECT_DOUBLE_EQ(valueOf(*library, key), coefficient) << key;
    EXPECT_DOUBLE_EQ(valueOf(*library, key, "RefTemp"), 20.0) << key;
  }
  SPtr<Materials::IZelMaterials> again;
  EXPECT_EQ(again.get(), library.get()) << "one library for the module";
}

}  // namespace
