#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "tests/devices/materials/materials_fixture.h"

namespace {

using ServedLibrary = ModuleTest;

// The only test that asks for the module's one library: it is read once per process.
TEST_F(ServedLibrary, TheShippedExampleGivesEveryMaterialsExpansionCoefficient) {
  ScratchDirectory directory;
  std::filesystem::create_directory(directory.system("materials"));
  std::filesystem::copy_file(PALPERA_TEST_SOURCE_DIR "/../examples/materials/materials.mtlx",
                             directory.system("materials/materials.mtlx"));
  host_.dataStore().setString(nullptr, "DefaultFileNameDirectory/common", directory.module());

  SPtr<Materials::IZelMaterials> library;
  ASSERT_TRUE(library);
  EXPECT_TRUE(host_.simpleDialog().shown().empty());
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
