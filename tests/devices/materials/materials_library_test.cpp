#include <gtest/gtest.h>

#include "devices/materials/zel_material.h"
#include "tests/devices/materials/materials_fixture.h"

namespace {

using Materials::ZelMaterial;
using Materials::ZelMaterials;

IPtr<ZelMaterials> emptyLibrary() {
  return IPtr<ZelMaterials>(new ZelMaterials(ZelMaterials::Empty{}));
}

IPtr<ZelMaterial> material(const char* key) {
  return IPtr<ZelMaterial>(new ZelMaterial(ZelCString(key), ZelString(key)));
}

TEST(MaterialsLibrary, FindIsExactAndAnswersTheFirstOfTheNameThatIsStillThere) {
  IPtr<ZelMaterials> library = emptyLibrary();
  IPtr<ZelMaterial> first = material("Steel"), brass = material("Brass"), second = material("Steel");
  for (ZelMaterial* each : {first.get(), brass.get(), second.get()}) library->add(each);
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

TEST(MaterialsLibrary, RemovingTheFirstOfThreeMovesTheOthersUpAndReleasesIt) {
  IPtr<ZelMaterials> library = emptyLibrary();
  IPtr<ZelMaterial> a = material("A"), b = material("B"), c = material("C");
  for (ZelMaterial* each : {a.get(), b.get(), c.get()}) library->add(each);
  library->remove(material("A").get());
  EXPECT_EQ(library->count(), 3) << "an object not in the list changes nothing, whatever its name";

  library->remove(a.get());
  ASSERT_EQ(library->count(), 2);
  EXPECT_EQ(library->items()[1].get(), b.get());
  EXPECT_EQ(library->items()[2].get(), c.get());
  EXPECT_EQ(a->refCount(), 1u) << "only the test's reference is left";
  EXPECT_EQ(c->refCount(), 2u) << "moving down neither lost nor added a reference";
}

}  // namespace
