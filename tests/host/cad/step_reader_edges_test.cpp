// Files at the edges of what the STEP reader takes: each one loads, or is refused in its own words, as a
// reader that bends the edge would not.

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "host/cad/cad_model.h"
#include "host/standin_host.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"
#include "tests/host/cad/step_test_files.h"

namespace {

const std::string kExampleParts = PALPERA_TEST_SOURCE_DIR "/../examples/parts/";

// The countersink's cone of 45 degrees given in another plane angle unit, defined by the lines given, whose
// first defines #486, the unit the context lists.
std::string countersinkIn(const std::string& halfAngle, const std::string& unitLines,
                          const std::string& contextUnits = "(#485,#486,#487)") {
  std::string text = readFile(kExampleParts + "plate-countersink.step");
  const auto replace = [&](const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
  };
  replace("CONICAL_SURFACE('',#283,4.E-03,0.785398163397)",
          "CONICAL_SURFACE('',#283,4.E-03," + halfAngle + ")");
  replace("#486 = ( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );", unitLines);
  replace("((#485,#486,#487))", "(" + contextUnits + ")");
  return text;
}

const std::string kRadianAndDimensions =
    "#901 = ( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );\n"
    "#902 = DIMENSIONAL_EXPONENTS(0.,0.,0.,0.,0.,0.,0.);\n";

// An angle unit a turn large, as near 2 pi as fifteen digits write it.
const std::string kTurn =
    "#486 = ( CONVERSION_BASED_UNIT('TURN',#900) NAMED_UNIT(#902) PLANE_ANGLE_UNIT() );\n"
    "#900 = PLANE_ANGLE_MEASURE_WITH_UNIT(PLANE_ANGLE_MEASURE(6.28318530717959),#901);\n" +
    kRadianAndDimensions;

// A degree of sixty minutes, each defined in radians: two steps to the radian.
const std::string kDegreeOfMinutes =
    "#486 = ( CONVERSION_BASED_UNIT('DEGREE',#900) NAMED_UNIT(#902) PLANE_ANGLE_UNIT() );\n"
    "#900 = PLANE_ANGLE_MEASURE_WITH_UNIT(PLANE_ANGLE_MEASURE(60.),#903);\n"
    "#903 = ( CONVERSION_BASED_UNIT('MINUTE',#904) NAMED_UNIT(#902) PLANE_ANGLE_UNIT() );\n"
    "#904 = PLANE_ANGLE_MEASURE_WITH_UNIT(PLANE_ANGLE_MEASURE(2.908882086657216E-04),#901);\n" +
    kRadianAndDimensions;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

// Every face of the part on a surface that is the face itself, which the kernel cannot build.
std::string everyFaceOnItself(const std::string& part) {
  return std::regex_replace(readFile(kExampleParts + part),
                            std::regex("#([0-9]+) = ADVANCED_FACE\\('',\\(([#0-9,]+)\\),#[0-9]+,"),
                            "#$1 = ADVANCED_FACE('',($2),#$1,");
}

// The entity numbers of the part's faces, in the file's order.
std::vector<std::string> faceNames(const std::string& part) {
  const std::string text = readFile(kExampleParts + part);
  const std::regex face("(#[0-9]+) = ADVANCED_FACE");
  std::vector<std::string> names;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), face); it != std::sregex_iterator(); ++it)
    names.push_back((*it)[1]);
  return names;
}

}  // namespace

TEST(StepReaderEdges, EachFileLoadsWithItsTrueAnglesOrIsRefusedInItsOwnWords) {
  const std::vector<std::string> pocketFaces = faceNames("plate-pocket.step");
  ASSERT_EQ(pocketFaces.size(), 11u);
  std::string tenFaces;
  for (size_t i = 0; i < 10; ++i) tenFaces += (i ? ", " : "") + pocketFaces[i];
  const std::string box = readFile(kStepDir + "box-inches.step");
  struct Case {
    std::string name, text, reason;  // no reason: the file loads, with cones of 45 degrees
    int cones = 0;
  };
  const Case cases[] = {
      {"an angle unit of a whole turn", countersinkIn("0.125", kTurn), "", 1},
      {"an angle unit and no length unit", countersinkIn("45.", kDegreeOfMinutes, "(#486,#487)"), "", 1},
      // The kernel would read the angles of a context it does not know as radians, without a word.
      {"an angle unit and no length unit in a context the kernel does not know",
       replaced(countersinkIn("45.", kDegreeOfMinutes, "(#486,#487)"),
                "'3D Context with UNIT and UNCERTAINTY') )",
                "'3D Context with UNIT and UNCERTAINTY') TOLERANCE_CONTEXT() )"),
       "the CAD kernel does not take the units the file declares"},
      {"the closing keyword before 5000 blanks", box + std::string(5000, ' '), ""},
      {"eleven faces dropped", everyFaceOnItself("plate-pocket.step"),
       "the CAD kernel dropped every face of it: " + tenFaces + " and 1 more"},
      {"no shape",
       "ISO-10303-21;\nHEADER;\nENDSEC;\nDATA;\n#1 = CARTESIAN_POINT('',(0.,0.,0.));\nENDSEC;\n"
       "END-ISO-10303-21;\n",
       "holds no solid or face"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.reason.empty()) {
      expectRefused(c.text, c.reason);
      continue;
    }
    ScratchDirectory scratch;
    StandinHost host;
    scratch.write("part.step", c.text);
    IPtr<HostDocObject> part = loadCadModel(host.document().doc(), u"Part", scratch.system("part.step"));
    std::shared_ptr<const BrepModel> model = cadModelById(part->id());
    ASSERT_TRUE(model);
    EXPECT_EQ(model->solidCount(), 1u);
    int cones = 0;
    for (uint32_t face = 1; face <= model->faceCount(); ++face) {
      if (model->surface(face).kind != BrepModel::SurfaceKind::cone) continue;
      ++cones;
      EXPECT_NEAR(model->surface(face).minor, M_PI / 4, 1e-9);
    }
    EXPECT_EQ(cones, c.cones);
  }
}
