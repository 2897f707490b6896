// The length unit of a STEP file: followed to the metre, refused by the entity at fault, never read wrong
// without a word. The files are hand-made variants of a box of 4 x 3 x 1 inches (tests/host/cad/step/).

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "host/cad/cad_model.h"
#include "host/standin_host.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"
#include "tests/host/cad/step_test_files.h"

namespace {

// Runs cad-load on each file in turn, from the examples' folder as the host's tests do, by a path relative to
// it: the messages shorten a long path, and must name the file whole wherever the project stands. What the
// host printed.
std::string cadLoad(const std::vector<std::string>& files, int& status) {
  ScratchDirectory scratch;
  std::ofstream script(scratch.system("load.script"));
  for (const std::string& file : files) script << "cad-load Box ../tests/host/cad/step/" << file << "\n";
  script.close();
  return runTool("--script " + scratch.system("load.script"), status);
}

// The text with its first `from` replaced by `to` and `added` put before its data's end.
std::string changed(std::string text, const std::string& from, const std::string& to,
                    const std::string& added) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  text.insert(text.rfind("ENDSEC;"), added);
  return text;
}

}  // namespace

TEST(StepUnits, AUnitDefinedThroughAnotherIsFollowedToTheMetre) {
  StandinHost host;
  CadFileReading units;
  IPtr<HostDocObject> object =
      loadCadModel(host.document().doc(), u"Box", kStepDir + "box-feet.step", &units);
  EXPECT_EQ(units.lengthUnits, "FOOT");
  EXPECT_FALSE(units.metresAssumed);
  std::shared_ptr<const BrepModel> model = cadModelById(object->id());
  ASSERT_TRUE(model);
  constexpr double kFoot = 0.3048;
  const auto [low, high] = model->bounds();
  const BrepModel::Point expectedLow{0, 0, 8 * kFoot}, expectedHigh{4 * kFoot, 3 * kFoot, 9 * kFoot};
  for (size_t axis = 0; axis < 3; ++axis) {
    EXPECT_NEAR(low[axis], expectedLow[axis], 1e-6);
    EXPECT_NEAR(high[axis], expectedHigh[axis], 1e-6);
  }
}

TEST(StepUnits, TheHostPrintsTheSolidsOwnUnitOnceAndSaysWhenItAssumedMetres) {
  int status = 0;
  const std::string output =
      cadLoad({"box-feet.step", "box-inches-three-contexts.step", "box-no-length-unit.step"}, status);
  // The second file holds the box in two contexts in inches and a placement in a third, in millimetres.
  EXPECT_EQ(output,
            "Box: unit FOOT, 1 solid, 6 faces, size 1.2192 x 0.9144 x 0.3048 m\n"
            "Box: unit INCH, 1 solid, 6 faces, size 0.1016 x 0.0762 x 0.0254 m\n"
            "Box: unit none (metres assumed), 1 solid, 6 faces, size 4 x 3 x 1 m\n");
  EXPECT_EQ(status, 0);
}

TEST(StepUnits, TwoLengthUnitsInOneContextAreRefusedByName) {
  int status = 0;
  const std::string output = cadLoad({"box-inch-and-millimetre.step"}, status);
  EXPECT_NE(output.find("box-inch-and-millimetre.step': #17 declares two length units: #13 (INCH) and #10 "
                        "(millimetre)\n"),
            std::string::npos)
      << output;
  EXPECT_NE(status, 0);
}

// Each fault put into the inch box's units, and the reason that names the entity at fault.
TEST(StepUnits, AUnitThatCannotBeResolvedIsRefusedNamingTheEntity) {
  const std::string box = readFile(kStepDir + "box-inches.step");
  const std::string context = "GLOBAL_UNIT_ASSIGNED_CONTEXT((#13,#14,#15))";
  const std::string inch = "#12 = LENGTH_MEASURE_WITH_UNIT(LENGTH_MEASURE(25.4),#10);";
  const std::string foot =
      "#173 = ( CONVERSION_BASED_UNIT('FOOT',#174) LENGTH_UNIT() NAMED_UNIT(#11) );\n"
      "#174 = LENGTH_MEASURE_WITH_UNIT(LENGTH_MEASURE(12.),#13);\n";
  // Each of its two steps is finite; the two together are not.
  const std::string huge =
      "#173 = ( CONVERSION_BASED_UNIT('HUGE',#174) LENGTH_UNIT() NAMED_UNIT(#11) );\n"
      "#174 = LENGTH_MEASURE_WITH_UNIT(LENGTH_MEASURE(1.E300),#175);\n"
      "#175 = ( CONVERSION_BASED_UNIT('LARGE',#176) LENGTH_UNIT() NAMED_UNIT(#11) );\n"
      "#176 = LENGTH_MEASURE_WITH_UNIT(LENGTH_MEASURE(1.E300),#10);\n";
  struct Case {
    std::string name, from, to, added, reason;
  };
  const Case cases[] = {
      {"missing", "CONVERSION_BASED_UNIT('INCH',#12)", "CONVERSION_BASED_UNIT('INCH',#999)", "",
       "#13 refers to #999, which the file does not hold"},
      {"prefix", "SI_UNIT(.MILLI.,.METRE.)", "SI_UNIT(.BOGUS.,.METRE.)", "",
       "#10 has the unknown prefix 'BOGUS'"},
      {"second", "SI_UNIT(.MILLI.,.METRE.)", "SI_UNIT($,.SECOND.)", "", "#10 is not a unit of length"},
      {"point", inch, "#12 = LENGTH_MEASURE_WITH_UNIT(LENGTH_MEASURE(25.4),#18);", "",
       "#18 is not a unit of length"},
      {"listed point", context, "GLOBAL_UNIT_ASSIGNED_CONTEXT((#18,#14,#15))", "",
       "#18, listed as a unit by #17, is not a unit"},
      {"zero", "LENGTH_MEASURE(25.4)", "LENGTH_MEASURE(0.)", "",
       "#12 gives a conversion factor that is not a positive finite number"},
      {"negative", "LENGTH_MEASURE(25.4)", "LENGTH_MEASURE(-25.4)", "",
       "#12 gives a conversion factor that is not a positive finite number"},
      {"text", "LENGTH_MEASURE(25.4)", "LENGTH_MEASURE('25.4')", "",
       "#12 gives a conversion factor that is not a positive finite number"},
      {"overflow", "LENGTH_MEASURE(25.4)", "LENGTH_MEASURE(1.E400)", "",
       "#12 holds '1.E400', which is not a finite number"},
      {"nan", "LENGTH_MEASURE(25.4)", "LENGTH_MEASURE(NAN)", "",
       "#12 holds 'NAN', which is not a finite number"},
      {"product overflow", context, "GLOBAL_UNIT_ASSIGNED_CONTEXT((#173,#14,#15))", huge,
       "#173 gives a conversion factor that is not a positive finite number"},
      {"itself", inch, "#12 = LENGTH_MEASURE_WITH_UNIT(LENGTH_MEASURE(25.4),#13);", "",
       "#13 is defined through itself"},
      {"through the foot", inch, "#12 = LENGTH_MEASURE_WITH_UNIT(LENGTH_MEASURE(25.4),#173);", foot,
       "#13 is defined through itself"},
      {"not a measure", inch, "#12 = CARTESIAN_POINT('',(25.4,0.,0.));", "",
       "#12 is not a measure with a unit"},
      {"context the kernel does not know", "'3D Context with UNIT and UNCERTAINTY') )",
       "'3D Context with UNIT and UNCERTAINTY') TOLERANCE_CONTEXT() )", "",
       "the CAD kernel does not take the units the file declares"},
      {"context missing", "#17);\nENDSEC;", "#998);\nENDSEC;", "",
       "#172 refers to #998, which the file does not hold"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectRefused(changed(box, c.from, c.to, c.added), c.reason);
  }
}

// Each entity of a file has one number; a second definition would decide a unit without a word. Two length
// units of one context are told apart by their size, whatever they are called.
TEST(StepUnits, ALabelDefinedTwiceAndTwoUnitsOfOneNameAreRefusedByName) {
  const std::string box = readFile(kStepDir + "box-inches.step");
  const std::string angle = "#14 = ( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );";
  const std::string otherInch =
      "#173 = ( CONVERSION_BASED_UNIT('INCH',#174) LENGTH_UNIT() NAMED_UNIT(#11) );\n"
      "#174 = LENGTH_MEASURE_WITH_UNIT(LENGTH_MEASURE(2.54),#10);\n";
  struct Case {
    std::string name, from, to, added, reason;
  };
  const Case cases[] = {
      {"inch, then millimetre", angle,
       "#13 = ( LENGTH_UNIT() NAMED_UNIT(*) SI_UNIT(.MILLI.,.METRE.) );\n" + angle, "",
       "#13 is defined twice"},
      {"a point twice", angle, "#19 = CARTESIAN_POINT('',(0.,0.,0.));\n" + angle, "", "#19 is defined twice"},
      {"two inches", "GLOBAL_UNIT_ASSIGNED_CONTEXT((#13,#14,#15))",
       "GLOBAL_UNIT_ASSIGNED_CONTEXT((#13,#14,#15,#173))", otherInch,
       "#17 declares two length units: #13 (INCH) and #173 (INCH)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectRefused(changed(box, c.from, c.to, c.added), c.reason);
  }
}

// The countersink's cone of 45 degrees, its plane angle unit a degree defined in radians; each fault put into
// that degree, and the reason that names the entity at fault.
TEST(StepUnits, APlaneAngleUnitIsFollowedToTheRadianOrRefusedByName) {
  const std::string radian = "#486 = ( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );";
  const auto inDegrees = [&](const std::string& factor, const std::string& unit) {
    std::string text = readFile(PALPERA_TEST_SOURCE_DIR "/../examples/parts/plate-countersink.step");
    const std::string cone = "CONICAL_SURFACE('',#283,4.E-03,0.785398163397)";
    text.replace(text.find(cone), cone.size(), "CONICAL_SURFACE('',#283,4.E-03,45.)");
    text.replace(text.find(radian), radian.size(),
                 "#486 = ( CONVERSION_BASED_UNIT('DEGREE',#900) NAMED_UNIT(#902) PLANE_ANGLE_UNIT() );\n"
                 "#900 = PLANE_ANGLE_MEASURE_WITH_UNIT(PLANE_ANGLE_MEASURE(" +
                     factor + ")," + unit +
                     ");\n"
                     "#901 = ( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );\n"
                     "#902 = DIMENSIONAL_EXPONENTS(0.,0.,0.,0.,0.,0.,0.);");
    return text;
  };
  const std::string degree = "1.745329251994E-02";
  ScratchDirectory scratch;
  StandinHost host;
  HostDocument& document = host.document().doc();
  scratch.write("plate.step", inDegrees(degree, "#901"));
  IPtr<HostDocObject> plate = loadCadModel(document, u"Plate", scratch.system("plate.step"));
  std::shared_ptr<const BrepModel> model = cadModelById(plate->id());
  ASSERT_TRUE(model);
  int cones = 0;
  for (uint32_t face = 1; face <= model->faceCount(); ++face) {
    if (model->surface(face).kind != BrepModel::SurfaceKind::cone) continue;
    ++cones;
    EXPECT_NEAR(model->surface(face).minor, M_PI / 4, 1e-9);
  }
  EXPECT_EQ(cones, 1);

  struct Case {
    std::string name, factor, unit, reason;
  };
  const Case cases[] = {
      {"a degree of 1e300 radians", "1.E300", "#901",
       "#486 is a plane angle unit of 1e+300 radians, larger than a whole turn"},
      {"factor 0", "0.", "#901", "#900 gives a conversion factor that is not a positive finite number"},
      {"through itself", degree, "#486", "#486 is defined through itself"},
      {"through a length unit", degree, "#485", "#485 is not a unit of plane angle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectRefused(inDegrees(c.factor, c.unit), c.reason);
  }
}
