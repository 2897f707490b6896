// Files at the edges of what the STEP reader takes: each loads, or is refused in its own words.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/host/cad/step_test_files.h"

namespace {

std::string stepTextReplaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// The countersink with angle unit #486 a turn (2 pi to 15 digits), its 45 degree cone an eighth of it.
std::string countersinkInTurns(const std::string& contextUnits) {
  const std::string turn =
      "#486 = ( CONVERSION_BASED_UNIT('TURN',#900) NAMED_UNIT(#902) PLANE_ANGLE_UNIT() );\n"
      "#900 = PLANE_ANGLE_MEASURE_WITH_UNIT(PLANE_ANGLE_MEASURE(6.28318530717959),#901);\n"
      "#902 = DIMENSIONAL_EXPONENTS(0.,0.,0.,0.,0.,0.,0.);\n#901 = (";
  const std::string text = stepTextReplaced(
      readFile(PALPERA_TEST_SOURCE_DIR "/../examples/parts/plate-countersink.step"), "#486 = (", turn);
  return stepTextReplaced(stepTextReplaced(text, "4.E-03,0.785398163397)", "4.E-03,0.125)"),
                          "((#485,#486,#487))", contextUnits);
}

}  // namespace

TEST(StepReaderEdges, EachFileLoadsOrIsRefusedInItsOwnWords) {
  for (const std::string& loads : {countersinkInTurns("((#485,#486,#487))"),
                                   readFile(kStepDir + "box-inches.step") + std::string(5000, ' ')}) {
    ScratchDirectory scratch;
    StandinHost host;
    scratch.write("part.step", loads);
    IPtr<HostDocObject> part = loadCadModel(host.document().doc(), u"Part", scratch.system("part.step"));
    EXPECT_EQ(cadModelById(part->id())->solidCount(), 1u);
  }
  // The pocket's faces each on a surface that is itself; a context the kernel would read in radians.
  const std::regex face("#([0-9]+) = ADVANCED_FACE\\('',\\(([#0-9,]+)\\),#[0-9]+,");
  const std::pair<std::string, std::string> refused[] = {
      {std::regex_replace(readFile(PALPERA_TEST_SOURCE_DIR "/../examples/parts/plate-pocket.step"), face,
                          "#$1 = ADVANCED_FACE('',($2),#$1,"),
       "the CAD kernel dropped every face of it: #17, #137, #213, #368, #417, #444, #451, #527, #576, #625 "
       "and 1 more"},
      {"ISO-10303-21;\nHEADER;\nENDSEC;\nDATA;\n#1 = "
       "CARTESIAN_POINT('',(0.,0.,0.));\nENDSEC;\nEND-ISO-10303-21;\n",
       "holds no solid or face"},
      {stepTextReplaced(countersinkInTurns("((#486,#487))"), "UNCERTAINTY') )",
                        "UNCERTAINTY') TOLERANCE_CONTEXT() )"),
       "the CAD kernel does not take the units the file declares"},
  };
  for (const auto& [text, reason] : refused) expectRefused(text, reason);
}
