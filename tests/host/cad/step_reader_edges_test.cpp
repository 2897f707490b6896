// Files at the edges of what the STEP reader takes: each one loads, or is refused in its own words, as a
// reader that bends the edge would not.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "host/cad/cad_model.h"
#include "host/standin_host.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"
#include "tests/host/cad/step_test_files.h"

namespace {

const std::string kExampleParts = PALPERA_TEST_SOURCE_DIR "/../examples/parts/";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

// The countersink with its plane angle unit #486 a turn, as near 2 pi as fifteen digits write it, and its
// cone of 45 degrees an eighth of it; the context lists the units given.
std::string countersinkInTurns(const std::string& contextUnits) {
  const std::string turn =
      "#486 = ( CONVERSION_BASED_UNIT('TURN',#900) NAMED_UNIT(#902) PLANE_ANGLE_UNIT() );\n"
      "#900 = PLANE_ANGLE_MEASURE_WITH_UNIT(PLANE_ANGLE_MEASURE(6.28318530717959),#901);\n"
      "#901 = ( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );\n"
      "#902 = DIMENSIONAL_EXPONENTS(0.,0.,0.,0.,0.,0.,0.);\n";
  std::string text = readFile(kExampleParts + "plate-countersink.step");
  text = replaced(text, "#486 = ( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );", turn);
  text = replaced(text, "4.E-03,0.785398163397)", "4.E-03,0.125)");
  return replaced(text, "((#485,#486,#487))", contextUnits);
}

}  // namespace

TEST(StepReaderEdges, EachFileLoadsOrIsRefusedInItsOwnWords) {
  // The pocket's eleven faces each on a surface that is the face itself, which the kernel cannot build.
  const std::string pocket = readFile(kExampleParts + "plate-pocket.step");
  const std::regex face("#([0-9]+) = ADVANCED_FACE\\('',\\(([#0-9,]+)\\),#[0-9]+,");
  std::string tenFaces;
  auto found = std::sregex_iterator(pocket.begin(), pocket.end(), face);
  for (int i = 0; i < 10; ++i, ++found) tenFaces += (i ? ", #" : "#") + (*found)[1].str();
  const std::string noShape =
      "ISO-10303-21;\nHEADER;\nENDSEC;\nDATA;\n#1 = "
      "CARTESIAN_POINT('',(0.,0.,0.));\nENDSEC;\nEND-ISO-10303-21;\n";
  struct Case {
    std::string name, text, reason;  // no reason: the file loads
  };
  const Case cases[] = {
      {"an angle unit of a whole turn", countersinkInTurns("((#485,#486,#487))"), ""},
      {"the closing keyword before 5000 blanks",
       readFile(kStepDir + "box-inches.step") + std::string(5000, ' '), ""},
      {"eleven faces dropped", std::regex_replace(pocket, face, "#$1 = ADVANCED_FACE('',($2),#$1,"),
       "the CAD kernel dropped every face of it: " + tenFaces + " and 1 more"},
      {"no shape", noShape, "holds no solid or face"},
      // The kernel would read the angles of a context it does not know as radians, without a word.
      {"an angle unit and no length unit, in a context the kernel does not know",
       replaced(countersinkInTurns("((#486,#487))"), "'3D Context with UNIT and UNCERTAINTY') )",
                "'3D Context with UNIT and UNCERTAINTY') TOLERANCE_CONTEXT() )"),
       "the CAD kernel does not take the units the file declares"},
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
    EXPECT_EQ(cadModelById(part->id())->solidCount(), 1u);
  }
}
