// A STEP file whose model is no size a measured part can have, or whose faces the kernel drops, is refused
// naming why, in bounded time; a face the kernel drops from a model it keeps is named in a warning. The
// files are one-number changes of the example parts.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "host/cad/cad_model.h"
#include "host/standin_host.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"
#include "tests/host/cad/step_test_files.h"

namespace {

const std::string kSphereOnStand = PALPERA_TEST_SOURCE_DIR "/../examples/parts/sphere-on-stand.step";
const std::string kBoxInInches = kStepDir + "box-inches.step";

// The file with its first `from` replaced by `to`.
std::string changed(const std::string& path, const std::string& from, const std::string& to) {
  std::string text = readFile(path);
  const size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string sphereOfRadius(const std::string& radius) {
  return changed(kSphereOnStand, "SPHERICAL_SURFACE('',#283,1.5E-02)",
                 "SPHERICAL_SURFACE('',#283," + radius + ")");
}

}  // namespace

// The mesher spun for good on a sphere far beyond any part; the host refuses it before anything meshes it,
// well within a time limit of one second (the run is cut at 20 s, so a hang fails the test).
TEST(StepModelExtent, ASphereOutOfAllMeasureIsRefusedThroughTheHostNamingItsFace) {
  struct Case {
    std::string radius, reason;
  };
  const Case cases[] = {
      {"1.E9",
       "face #376 reaches 1e+09 m from the origin, beyond the 1000 m within which a measured part lies"},
      {"1.E20", "face #376 has no extent the CAD kernel can bound"},
      {"1.E300", "face #376 has no extent the CAD kernel can bound"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.radius);
    ScratchDirectory scratch;
    scratch.write("sphere.step", sphereOfRadius(c.radius));
    scratch.write("load.script", "cad-load Sphere " + scratch.system("sphere.step") + "\n");
    int status = 0;
    const std::string output = runTool("--cad-time-limit 1 --script " + scratch.system("load.script"), status,
                                       PALPERA_TEST_SOURCE_DIR "/../examples", "timeout 20 ");
    EXPECT_NE(output.find("sphere.step': " + c.reason + "\n"), std::string::npos) << output;
    EXPECT_EQ(WEXITSTATUS(status), 1);
  }
}

TEST(StepModelExtent, AModelNoPartCanBeOrWithoutAFaceKeptIsRefusedNamingWhy) {
  // Every face of the box on a surface that is the face itself.
  const std::string box = readFile(kBoxInInches);
  const std::string everyFaceOnItself =
      std::regex_replace(box, std::regex("#([0-9]+) = ADVANCED_FACE\\('',\\((#[0-9]+)\\),#[0-9]+,"),
                         "#$1 = ADVANCED_FACE('',($2),#$1,");
  struct Case {
    std::string name, text, reason;
  };
  const Case cases[] = {
      {"an inch of 1e20 mm", changed(kBoxInInches, "LENGTH_MEASURE(25.4)", "LENGTH_MEASURE(1.E20)"),
       "face #65 reaches 8e+17 m from the origin, beyond the 1000 m within which a measured part lies"},
      {"an inch of 1e-300 mm", changed(kBoxInInches, "LENGTH_MEASURE(25.4)", "LENGTH_MEASURE(1.E-300)"),
       "face #65 reaches 1e+100 m from the origin, beyond the 1000 m within which a measured part lies"},
      {"every face on itself", everyFaceOnItself,
       "the CAD kernel dropped every face of it: #65, #97, #119, #141, #153, #165"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectRefused(c.text, c.reason);
  }
}

// The stand keeps its faces when the sphere's face is dropped; the model lacks it, and its solid, and says
// so.
TEST(StepModelExtent, AFaceTheKernelDropsIsNamedInAWarning) {
  ScratchDirectory scratch;
  scratch.write("part.step", changed(kSphereOnStand, "#376 = ADVANCED_FACE('',(#377),#282,.T.);",
                                     "#376 = ADVANCED_FACE('',(#377),#376,.T.);"));
  StandinHost host;
  CadFileReading reading;
  IPtr<HostDocObject> part =
      loadCadModel(host.document().doc(), u"Part", scratch.system("part.step"), &reading);
  ASSERT_TRUE(part);
  const std::string looseFaces =
      "the CAD kernel kept 0 of the file's 1 solid: the rest are loose faces, which enclose no inside";
  EXPECT_EQ(reading.warnings, (std::vector<std::string>{
                                  "the CAD kernel dropped face #376, which the model lacks", looseFaces}));
  EXPECT_EQ(cadModelById(part->id())->faceCount(), 6u);

  scratch.write("load.script", "cad-load Part " + scratch.system("part.step") + "\n");
  int status = 0;
  EXPECT_EQ(runTool("--script " + scratch.system("load.script"), status),
            "Part: warning: the CAD kernel dropped face #376, which the model lacks\n"
            "Part: warning: " +
                looseFaces + "\n" + "Part: unit metre, 0 solids, 6 faces, size 0.04 x 0.04 x 0.02 m\n");
  EXPECT_EQ(status, 0);
}
