#include <gtest/gtest.h>

#include "framework/host_glue/document_glue.h"
#include "support/module_fixture.h"

namespace {

class ReferenceObject : public ModuleTest {
 protected:
  HostGfxObject& addReference(int32_t displayMode) {
    IPtr<HostDocObject> reference = host_.document().add({"Mesh", u"RefObject", std::nullopt, {}, {}}, false);
    reference->graphics().setDisplayMode(displayMode);
    return reference->graphics();
  }
};

TEST_F(ReferenceObject, IsShownInMode1AndThePreviousModeIsHandedBack) {
  HostGfxObject& graphics = addReference(4);
  ShownReference shown = showReferenceObject();
  EXPECT_EQ(graphics.displayMode(), 1);
  ASSERT_TRUE(shown.graphics);
  EXPECT_EQ(shown.previousMode, 4);
  shown.graphics->setDisplayMode(shown.previousMode);
  EXPECT_EQ(graphics.displayMode(), 4);
}

TEST_F(ReferenceObject, AlreadyInMode1LeavesNothingToRestore) {
  HostGfxObject& graphics = addReference(1);
  ShownReference shown = showReferenceObject();
  EXPECT_FALSE(shown.graphics);
  EXPECT_EQ(graphics.displayMode(), 1);
}

TEST_F(ReferenceObject, MissingLeavesNothingToRestore) {
  host_.document().add({"Mesh", u"Other", std::nullopt, {}, {}}, false);
  EXPECT_FALSE(showReferenceObject().graphics);
}

}  // namespace
