#include "commands/features/probe_command_arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(ProbeCommandArguments, PairsAreTakenAsWrittenAndTheLastOfAKeyWins) {
  struct Case {
    const char* text;
    ProbeCommandArguments expected;
  };
  const Case cases[] = {
      {"IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=TRUE", {"IZelPlane", "Plane", "TRUE"}},
      {"IZelFeature =IZelPlane,IZelFeatureCollector= Plane,UsePlane=true", {"", " Plane", "true"}},
      {"izelfeature=IZelPlane,USEPLANE=false", {"", "", ""}},
      {"UsePlane=false,IZelFeature=IZelLine,IZelFeature=IZelPlane=x,IZelFeatureCollector=Plane,,junk",
       {"IZelPlane", "Plane", "false"}},
      {"IZelFeature=,=IZelPlane,IZelFeature,IZelFeatureCollector=Line", {"", "Line", ""}},
      {"IZelFeature=IZelLine,IZelFeature=", {"IZelLine", "", ""}},
      {"IZelFeature==IZelPlane,UsePlane=false=true", {"", "", "false"}},
      {"", {"", "", ""}},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.text);
    const ProbeCommandArguments parsed = parseProbeCommandArguments(each.text);
    EXPECT_EQ(parsed.feature, each.expected.feature);
    EXPECT_EQ(parsed.collector, each.expected.collector);
    EXPECT_EQ(parsed.usePlane, each.expected.usePlane);
  }
}

TEST(ProbeCommandArguments, UsePlaneIsTrueOrFalseInAnyCaseAndNothingElse) {
  EXPECT_EQ(parseUsePlane("TRUE"), true);
  EXPECT_EQ(parseUsePlane("fAlSe"), false);
  for (const char* bad : {"yes", "1", "", " true", "truex", "tru"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(parseUsePlane(bad).has_value());
  }
}

}  // namespace
