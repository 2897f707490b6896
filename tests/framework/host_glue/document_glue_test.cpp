#include <gtest/gtest.h>

#include "framework/host_glue/document_glue.h"
#include "support/module_fixture.h"

namespace {

class ReferenceObject : public ModuleTest {
 protected:
  HostGfxObject& addReference(const char16_t* name, int32_t displayMode) {
    IPtr<HostDocObject> reference = host_.document().add({"Mesh", name, std::nullopt, {}, {}}, false);
    reference->graphics().setDisplayMode(displayMode);
    return reference->graphics();
  }
};

TEST_F(ReferenceObject, IsShownInMode1AndThePreviousModeIsHandedBackUnlessMissingOrAlreadyThere) {
  addReference(u"Other", 4);
  EXPECT_FALSE(showReferenceObject().graphics);
  HostGfxObject& graphics = addReference(u"RefObject", 4);
  ShownReference shown = showReferenceObject();
  EXPECT_EQ(graphics.displayMode(), 1);
  ASSERT_TRUE(shown.graphics);
  EXPECT_EQ(shown.previousMode, 4);
  EXPECT_FALSE(showReferenceObject().graphics) << "already in mode 1: nothing to restore";
  shown.graphics->setDisplayMode(shown.previousMode);
  EXPECT_EQ(graphics.displayMode(), 4);
}

}  // namespace
