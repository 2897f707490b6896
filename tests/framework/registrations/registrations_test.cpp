#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "framework/registrations/registered_classes.h"
#include "framework/registrations/static_constants.h"
#include "host/zel_id_text.h"
#include "support/module_fixture.h"

namespace {

TEST(ClassTable, HoldsOneHundredDistinctClassesSevenOfThemSingletons) {
  std::set<std::string> names;
  std::set<std::string> ids;
  int singletons = 0;
  for (const RegisteredClass& entry : kRegisteredClasses) {
    names.insert(std::string(entry.name));
    ids.insert(canonicalText(entry.id));
    singletons += entry.singleton ? 1 : 0;
  }
  EXPECT_EQ(names.size(), 100u);
  EXPECT_EQ(ids.size(), 100u);
  EXPECT_EQ(singletons, 7);
  EXPECT_EQ(canonicalText(classIdOf("PluginService")), "16942fa6-c94a-44fb-b05e-fae3edabb716");
  EXPECT_EQ(canonicalText(classIdOf("PalperaDataItemAdder")), "79bdf198-9c97-4dfc-99af-c24e4302f9bc");
  EXPECT_TRUE(registeredClass("ZelMaterials").singleton);
  EXPECT_FALSE(registeredClass("UserInstructions").singleton);
}

using RegisteredClasses = ModuleTest;

TEST_F(RegisteredClasses, EveryRegisteredClassMatchesTheTableInIdNameAndKind) {
  IZelCompInternal* internal = internalOf(component_.get());
  ZelID id;
  uint32_t walked = 0;
  for (bool more = internal->firstClassId(&id); more; more = internal->nextClassId(&id)) {
    ++walked;
    const char* name = internal->className(&id);
    ASSERT_NE(name, nullptr);
    const RegisteredClass& entry = registeredClass(name);
    EXPECT_EQ(canonicalText(entry.id), canonicalText(id)) << name;

    IZelUnknown* first = nullptr;
    IZelUnknown* second = nullptr;
    uint32_t status = component_->createInstance(&id, &first);
    component_->createInstance(&id, &second);
    IPtr<IZelUnknown> holdFirst(first), holdSecond(second);
    EXPECT_EQ(status, entry.singleton ? 2u : 1u) << name;
    EXPECT_EQ(first == second, entry.singleton) << name;
    EXPECT_STREQ(first->className(), name);
  }
  EXPECT_EQ(walked, internal->classCount());
  EXPECT_GE(walked, 1u);
}

TEST_F(RegisteredClasses, SingletonsAreSharedBetweenComponents) {
  uint32_t version = 0;
  IZelComponent* raw = nullptr;
  ASSERT_EQ(EntryPoint(&version, &raw), 1);
  IPtr<IZelComponent> other(raw);
  IZelCompInternal* internal = internalOf(component_.get());
  ZelID id;
  for (bool more = internal->firstClassId(&id); more; more = internal->nextClassId(&id)) {
    if (!registeredClass(internal->className(&id)).singleton) continue;
    IZelUnknown* mine = nullptr;
    IZelUnknown* theirs = nullptr;
    EXPECT_EQ(component_->createInstance(&id, &mine), 2u);
    EXPECT_EQ(other->createInstance(&id, &theirs), 2u);
    EXPECT_EQ(mine, theirs);
  }
}

TEST(StaticConstants, TextsAndNumbersOtherSubsystemsShare) {
  EXPECT_EQ(std::u16string(transformFilesFilter().c_str()), u"Transform Files (*.tfm)");
  EXPECT_DOUBLE_EQ(kGoldenRatio, (std::sqrt(5.0) + 1.0) / 2.0);
  EXPECT_EQ(1 << kBitVectorWordShift, 32);
  EXPECT_EQ(canonicalText(kFeatureSubObjectsClassId), "acb43df0-d0ae-43f8-bbfe-3ccbd80c500e");
  EXPECT_EQ(canonicalText(kObjectAlignmentHostClassId), "883c5f1b-a52d-4cc0-81f1-80b6681cfce0");
  EXPECT_EQ(kPlaneColours321Widget[1], (RgbaColour{0.0f, 1.0f, 0.0f, 1.0f}));
}

}  // namespace
