#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "host/api/gfx_renderer.h"
#include "support/module_fixture.h"

namespace {

using SceneServices = ModuleTest;

TEST_F(SceneServices, AnUnmatchedRendererEndIsNotedNotTaken) {
  SPtr<IGfxRenderer> renderer;
  renderer->endUpdate();
  EXPECT_TRUE(host_.scene().renderer().counts().unmatchedEnds == 1 &&
              host_.scene().renderer().counts().depth == 0);
}

}  // namespace
