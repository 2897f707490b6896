#include <gtest/gtest.h>

#include <cmath>

#include "framework/object/iptr.h"
#include "host/api/mem_checker.h"
#include "host/api/unit_service.h"
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

TEST_F(CoreServices, AnUnknownUnitHasNoFactor) {
  SPtr<IUnitService> units;
  for (const int32_t unknown : {7, -1}) EXPECT_TRUE(std::isnan(units->unitFactor(unknown))) << unknown;
  EXPECT_FALSE(host_.core().units().setCurrentLengthUnit(7));
  EXPECT_EQ(units->currentLengthUnit(), HostUnitService::kMillimetre);
}

}  // namespace
