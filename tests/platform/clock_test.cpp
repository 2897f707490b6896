#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

TEST(PlatformClock, CountsNanosecondsForwardAndObeysAnOverride) {
  EXPECT_EQ(platform::kCounterFrequency, 1000000000);
  uint64_t before = platform::performanceCounter();
  EXPECT_GE(platform::performanceCounter(), before);
  {
    platform::CounterOverride fixed(42);
    EXPECT_EQ(platform::performanceCounter(), 42u);
    fixed.set(7);
    EXPECT_EQ(platform::performanceCounter(), 7u);
  }
  EXPECT_GE(platform::performanceCounter(), before);
}

}  // namespace
