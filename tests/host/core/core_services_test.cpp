#include <gtest/gtest.h>

#include <cmath>

#include "framework/object/iptr.h"
#include "host_api/feature_kinds.h"
#include "host_api/mem_checker.h"
#include "host_api/unit_service.h"
#include "support/module_fixture.h"

namespace {

using CoreServices = ModuleTest;

TEST_F(CoreServices, TheMemoryCheckerIsOptionalAndDividesItsFigures) {
  EXPECT_FALSE(SPtr<IMemChecker>());
  host_.core().enable(CoreFamily::Optional::kMemChecker, true);
  SPtr<IMemChecker> checker;
  ASSERT_TRUE(checker);
  ASSERT_TRUE(checker->isAvailable());
  uint64_t freeBytes = 0, totalBytes = 0, swapFree = 0, swapTotal = 0;
  checker->query(&freeBytes, &totalBytes, &swapFree, &swapTotal, 1);
  uint64_t freeKiB = 0, totalKiB = 0;
  checker->query(&freeKiB, &totalKiB, &swapFree, &swapTotal, 1024);
  EXPECT_GT(totalBytes, 0u);
  EXPECT_LE(freeBytes, totalBytes);
  EXPECT_EQ(totalKiB, totalBytes / 1024);
  EXPECT_LE(swapFree, swapTotal);
  checker->query(&freeKiB, &totalKiB, &swapFree, &swapTotal, 0);
  EXPECT_EQ(totalKiB, totalBytes) << "a divisor of 0 divides by nothing";
}

TEST_F(CoreServices, EveryUnitCodeHasItsFactorAndNameAndAnUnknownCodeIsRefused) {
  SPtr<IUnitService> units;
  struct Unit {
    int32_t code;
    double factor;
    std::u16string name;
  };
  const Unit table[] = {{0, 1 / 0.0254, u"in"}, {1, 1000, u"mm"},     {2, 1 / 0.3048, u"ft"},
                        {3, 100, u"cm"},        {4, 1e6, u"\u00b5m"}, {7, 1, u"m"}};
  for (const Unit& unit : table) {
    SCOPED_TRACE(unit.code);
    EXPECT_EQ(units->unitFactor(unit.code), unit.factor);
    EXPECT_EQ(units->unitName(unit.code).c_str(), unit.name);
    EXPECT_TRUE(units->setCurrentLengthUnit(unit.code));
    EXPECT_EQ(units->currentLengthUnit(), unit.code);
  }
  for (const int32_t unknown : {5, 6, 8, -1}) {
    SCOPED_TRACE(unknown);
    EXPECT_TRUE(std::isnan(units->unitFactor(unknown)));
    EXPECT_EQ(units->unitName(unknown).c_str(), std::u16string());
    EXPECT_FALSE(units->setCurrentLengthUnit(unknown));
    EXPECT_EQ(units->currentLengthUnit(), 7) << "the last unit made current stays";
  }
  EXPECT_EQ(units->modelScale(0), 1.0);
  EXPECT_TRUE(std::isnan(units->modelScale(1)));
}

// A target point is sized from the model's scale, never from the unit the user reads it in.
TEST_F(CoreServices, ATargetPointIsFourCentimetresAcrossInMetresAndInInches) {
  SPtr<IUnitService> units;
  for (int32_t code : {HostUnitService::kMetre, HostUnitService::kInch}) {
    SCOPED_TRACE(code);
    units->setCurrentLengthUnit(code);
    IPtr<IZelTargetPoint> target;
    target.getService();
    ASSERT_TRUE(target);
    target->setSize(0.04 * units->modelScale(0));
    EXPECT_EQ(target->size(), 0.04);
    EXPECT_NEAR(target->size() * units->unitFactor(units->currentLengthUnit()),
                code == HostUnitService::kInch ? 1.5748031496062993 : 0.04, 1e-15);
  }
}

}  // namespace
