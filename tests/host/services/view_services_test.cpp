#include <gtest/gtest.h>

#include <cmath>

#include "framework/object/iptr.h"
#include "host/api/gfx_renderer.h"
#include "host/api/unit_service.h"
#include "support/module_fixture.h"

namespace {

using Renderer = ModuleTest;

TEST_F(Renderer, NestedBracketsAreCountedAndAnUnmatchedEndIsNotedNotTaken) {
  SPtr<IGfxRenderer> renderer;
  ASSERT_TRUE(renderer);
  renderer->beginUpdate();
  renderer->beginUpdate();
  EXPECT_EQ(host_.renderer().counts().depth, 2);
  renderer->endUpdate();
  renderer->endUpdate();
  renderer->endUpdate();
  renderer->redraw(true);
  renderer->redraw(false);
  HostGfxRenderer::Counts counts = host_.renderer().counts();
  EXPECT_EQ(counts.depth, 0) << "never below zero";
  EXPECT_EQ(counts.deepest, 2);
  EXPECT_EQ(counts.begins, 2);
  EXPECT_EQ(counts.ends, 2);
  EXPECT_EQ(counts.unmatchedEnds, 1);
  EXPECT_EQ(counts.redraws, 2);
  EXPECT_EQ(counts.immediateRedraws, 1);
}

using Units = ModuleTest;

TEST_F(Units, FactorsConvertMetresIntoEachUnitOfTheTable) {
  SPtr<IUnitService> units;
  ASSERT_TRUE(units);
  EXPECT_EQ(units->currentLengthUnit(), HostUnitService::kMillimetre);
  EXPECT_EQ(units->unitFactor(HostUnitService::kMetre), 1.0);
  EXPECT_EQ(units->unitFactor(HostUnitService::kMillimetre), 1000.0);
  EXPECT_DOUBLE_EQ(0.0254 * units->unitFactor(HostUnitService::kInch), 1.0);
  EXPECT_DOUBLE_EQ(0.3048 * units->unitFactor(HostUnitService::kFoot), 1.0);
  EXPECT_DOUBLE_EQ(1e-6 * units->unitFactor(HostUnitService::kMicrometre), 1.0);
}

TEST_F(Units, AnUnknownUnitHasNoFactorAndCannotBecomeCurrent) {
  SPtr<IUnitService> units;
  EXPECT_TRUE(std::isnan(units->unitFactor(7)));
  EXPECT_TRUE(std::isnan(units->unitFactor(-1)));
  EXPECT_FALSE(host_.units().setCurrentLengthUnit(7));
  EXPECT_TRUE(host_.units().setCurrentLengthUnit(HostUnitService::kInch));
  EXPECT_EQ(units->currentLengthUnit(), HostUnitService::kInch);
}

}  // namespace
