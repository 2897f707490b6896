#include <gtest/gtest.h>

#include <cmath>

#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/unit_service.h"
#include "host/api/gfx_renderer.h"
#include "host/api/unit_service.h"
#include "support/module_fixture.h"

namespace {

using UnitServiceGlue = ModuleTest;

TEST_F(UnitServiceGlue, AsksTheHostsUnitServiceElseAssumesUnit7AndFactor1) {
  host_.units().setCurrentLengthUnit(HostUnitService::kInch);
  EXPECT_EQ(UnitService::currentLengthUnit(), HostUnitService::kInch);
  EXPECT_DOUBLE_EQ(UnitService::unitFactor(HostUnitService::kInch), 1 / 0.0254);
  host_.root().setService(IUnitService::interfaceName, nullptr);
  EXPECT_EQ(UnitService::currentLengthUnit(), 7);
  EXPECT_EQ(UnitService::unitFactor(HostUnitService::kMillimetre), 1.0);
}

using RendererScopes = ModuleTest;

TEST_F(RendererScopes, NestedScopesOpenAndCloseBalancedBrackets) {
  {
    RendererScope outer;
    {
      RendererScope inner;
      EXPECT_EQ(host_.renderer().counts().depth, 2);
    }
    EXPECT_EQ(host_.renderer().counts().depth, 1);
    requestRedraw(false);
  }
  HostGfxRenderer::Counts counts = host_.renderer().counts();
  EXPECT_EQ(counts.depth, 0);
  EXPECT_EQ(counts.begins, 2);
  EXPECT_EQ(counts.ends, 2);
  EXPECT_EQ(counts.unmatchedEnds, 0);
  EXPECT_EQ(counts.redraws, 1);
}

TEST_F(RendererScopes, AScopeOpenedWithoutARendererClosesNothing) {
  host_.root().setService(IGfxRenderer::interfaceName, nullptr);
  {
    RendererScope scope;
    host_.root().setService(IGfxRenderer::interfaceName, &host_.renderer());
  }
  EXPECT_EQ(host_.renderer().counts().ends + host_.renderer().counts().unmatchedEnds, 0);
}

}  // namespace
