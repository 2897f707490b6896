// The main job: a session of "Hard Probe Features" on an example part, recorded with the emulator and
// replayed with no device, and the table that sets each probed feature beside the part's nominal one.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

struct ComparedRow {
  std::string feature;
  std::string value;
  double difference;
  std::string unit;
};

// The rows of the table `compare` prints: a heading line, then each feature's name and its values, one line
// each after a tab ("\tLABEL\tFITTED\tNOMINAL\tDIFFERENCE UNIT").
std::vector<ComparedRow> comparedRows(const std::string& output) {
  std::vector<ComparedRow> rows;
  std::istringstream lines(output);
  std::string line, feature;
  while (std::getline(lines, line)) {
    if (line.rfind("\tvalue\t", 0) == 0) continue;
    if (line.empty() || line[0] != '\t') {
      feature = line;
      continue;
    }
    std::vector<std::string> fields;
    std::istringstream cells(line.substr(1));
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() != 4) {
      ADD_FAILURE() << "not a value line: " << line;
      continue;
    }
    std::istringstream difference(fields[3]);
    ComparedRow row{feature, fields[0], NAN, ""};
    difference >> row.difference >> row.unit;
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> featuresOf(const std::vector<ComparedRow>& rows) {
  std::vector<std::string> features;
  for (const ComparedRow& row : rows) {
    if (features.empty() || features.back() != row.feature) features.push_back(row.feature);
  }
  return features;
}

std::string runExample(const std::string& script, const std::string& directory, int& status) {
  return runTool("--script " + kProject + "/examples/" + script, status, directory);
}

// The differences are the probe-radius compensation's test: a ball of 3 mm radius taken off the wrong way
// leaves millimetres, and the event files' micrometre steps leave nothing since every touch was square.
TEST(ProbeDemo, EveryFeatureReplayedWithoutADeviceLiesWithinAMicrometreOfThePart) {
  int status = -1;
  const std::string output = runExample("probe-replay.script", kProject, status);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  const std::vector<ComparedRow> rows = comparedRows(output);
  EXPECT_EQ(featuresOf(rows), (std::vector<std::string>{"Plane 1", "Cylinder 1", "Circle 1", "Cylinder 2"}))
      << output;
  EXPECT_EQ(rows.size(), 11u) << output;
  for (const ComparedRow& row : rows) {
    SCOPED_TRACE(row.feature + " " + row.value);
    EXPECT_LT(std::fabs(row.difference), 1e-6);
    EXPECT_EQ(row.unit, row.value == "normal" || row.value == "axis" ? "rad" : "m");
  }
}

// The shipped files come from the shipped recording script: recording again prints the table the replay
// prints, writes the same host log, and its event files replay to that table as well.
TEST(ProbeDemo, RecordingAgainWithItsScriptGivesTheShippedHostLogAndTheReplaysTable) {
  int status = -1;
  const std::string replayed = runExample("probe-replay.script", kProject, status);
  ASSERT_EQ(WEXITSTATUS(status), 0) << replayed;
  ScratchDirectory scratch;
  std::filesystem::create_directory(scratch.system("examples"));
  for (const char* folder : {"materials", "parts"})
    std::filesystem::copy(kProject + "/examples/" + folder,
                          scratch.system(std::string("examples/") + folder));

  const std::string recorded = runExample("probe-record.script", scratch.system(), status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << recorded;
  EXPECT_EQ(recorded, replayed);
  EXPECT_EQ(scratch.read("examples/probe.log"), readFile(kProject + "/examples/probe.log"));
  const std::string again = runExample("probe-replay.script", scratch.system(), status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << again;
  EXPECT_EQ(again, replayed);
}

// The shipped session with the first event file's probe radius changed to one no probe has: the replay
// fails, naming the file and the record, rather than print features compensated the wrong way or by it.
TEST(ProbeDemo, AReplayedProbeRadiusNoProbeHasFailsNamingTheFileAndTheRecord) {
  for (const std::string radius : {"nan", "-0.003", "1e308"}) {
    SCOPED_TRACE(radius);
    ScratchDirectory scratch;
    std::filesystem::copy(kProject + "/examples", scratch.system("examples"),
                          std::filesystem::copy_options::recursive);
    const std::string file = "examples/probe-hardprobe-0000.xml";
    std::string events = scratch.read(file);
    const std::string shipped = ">0.003000</SetRadius>";
    ASSERT_NE(events.find(shipped), std::string::npos) << events;
    events.replace(events.find(shipped), shipped.size(), ">" + radius + "</SetRadius>");
    std::ofstream(scratch.system(file), std::ios::binary | std::ios::trunc) << events;
    int status = -1;
    const std::string output = runExample("probe-replay.script", scratch.system(), status);
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_NE(output.find("error: Cannot replay the device-event file 'examples/probe-hardprobe-0000.xml': "
                          "record 1 (SetRadius): the probe radius \"" +
                          radius + "\" is not a length from 0 to 0.5 m."),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("Plane 1"), std::string::npos) << output;
  }
}

// A pointed probe (the emulator's "ProbeDiameter" 0) touches the surface with its point: no compensation, the
// touches are the plane's points, and a stop on the surface tells no side that matters. Recorded and
// replayed, the run gives the same plane, through the touches on the top face.
TEST(ProbeDemo, APointedProbesTouchesAreThePlanesPointsRecordedAndReplayedTheSame) {
  ScratchDirectory scratch;
  const std::string start = "cad-box RefObject 0 0 0 0.1 0.1 0.01\nset DefaultFileNameDirectory/common " +
                            kProject + "/examples\nstart\n";
  const std::string plane =
      "command PalperaCreateFeaturesCmd2 IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false\n";
  const std::string report =
      "print document\nfeature RefObject plane 0.05 0.05 0.01 0 0 1\ncompare TestObject RefObject\n";
  std::ofstream(scratch.system("record.script"))
      << start << "set Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter 0\n"
      << "record-log pointed.log\n"
      << plane << "run-until Palpera/Events/Single/RadiusEvent 10000\n"
      << "mouse click 0.02 0.03 0.05 0 0 -1\nrun-until Palpera/Events/Single/SampledEvent 10000\n"
      << "mouse click 0.08 0.02 0.05 0 0 -1\nrun-until Palpera/Events/Single/SampledEvent 10000\n"
      << "mouse click 0.05 0.09 0.05 0 0 -1\nrun-until Palpera/Events/Single/SampledEvent 10000\n"
      << "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\napply\nstop-recording\n"
      << report;
  std::ofstream(scratch.system("replay.script")) << start << "replay-log pointed.log\n"
                                                 << plane << "run-until Palpera/LogReplayFinished\napply\n"
                                                 << report;
  int status = -1;
  const std::string recorded = runTool("--script record.script", status, scratch.system());
  ASSERT_EQ(WEXITSTATUS(status), 0) << recorded;
  EXPECT_EQ(
      recorded,
      "CAD\tRefObject\nPoint\tFeature Object\n\tPlane\tPlane 1\tvisible\tcentre (0.05, 0.0466667, 0.01)\t"
      "normal (0, 0, 1)\tcreator a8891a8a-641b-465b-873d-1057abb60795\tpoints 3\n"
      "\tvalue\tfitted\tnominal\tdifference\nPlane 1\n\tnormal\t(0, 0, 1)\t(0, 0, 1)\t0.000000000 rad\n"
      "\tcentre\t(0.05, 0.0466667, 0.01)\t(0.05, 0.0466667, 0.01)\t0.000000000 m\n");
  const std::string events = scratch.read("pointed-hardprobe-0000.xml");
  EXPECT_NE(events.find("<SetRadius time=\"0\">0.000000</SetRadius>"), std::string::npos) << events;
  EXPECT_NE(events.find("<Point><X>0.020000</X><Y>0.030000</Y><Z>0.010000</Z></Point>"), std::string::npos)
      << "the touch itself: " << events;
  const std::string replayed = runTool("--script replay.script", status, scratch.system());
  EXPECT_EQ(WEXITSTATUS(status), 0) << replayed;
  EXPECT_EQ(replayed, recorded);
}

// The table's arithmetic on features whose differences are known: a plane tilted by a milliradian and half a
// millimetre above, one turned round; an axis and a circle normal of the other sense, which does not count.
TEST(CompareScript, EachDifferenceIsTheProbedValueLessTheNominalOrTheirDistanceOrAngle) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("compare.script"))
      << "cad-box A 0 0 0 1 1 1\ncad-box B 0 0 0 1 1 1\n"
      << "feature A plane 0.02 0.03 0.0105 0 0.001 1\nfeature B plane 0.06 0.04 0.01 0 0 1\n"
      << "feature A plane 0 0 0.01 0 0 -1\nfeature B plane 0 0 0.012 0 0 1\n"
      << "feature A cylinder 0.0301 0.04 0 0.0301 0.04 0.02 0.0099\n"
      << "feature B cylinder 0.03 0.04 0.01 0.03 0.04 0 0.01\n"
      << "feature A circle 0.03 0.04 0.01 0 0 -1 0.01\nfeature B circle 0.0303 0.0444 0.01 0 0 1 0.0105\n"
      << "feature A sphere 0.1 0.2 0.3 0.005\nfeature B sphere 0.1 0.2 0.3004 0.0051\n"
      << "compare A B\n";
  int status = -1;
  const std::string output = runTool("--script compare.script", status, scratch.system());
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(output.find("\tvalue\tfitted\tnominal\tdifference\n"
                        "Plane 1\n"
                        "\tnormal\t(0, 0.000999999, 1)\t(0, 0, 1)\t0.001000000 rad\n"
                        "\tcentre\t(0.02, 0.03, 0.0105)\t(0.02, 0.03, 0.01)\t0.000500000 m\n"
                        "Plane 2\n"
                        "\tnormal\t(0, 0, -1)\t(0, 0, 1)\t3.141592654 rad\n"
                        "\tcentre\t(0, 0, 0.01)\t(0, 0, 0.012)\t-0.002000000 m\n"
                        "Cylinder 1\n"
                        "\taxis\t(0, 0, 1)\t(0, 0, -1)\t0.000000000 rad\n"
                        "\taxis point\t(0.0301, 0.04, 0.01)\t(0.03, 0.04, 0.01)\t0.000100000 m\n"
                        "\tradius\t0.0099\t0.01\t-0.000100000 m\n"
                        "Circle 1\n"
                        "\tcentre\t(0.03, 0.04, 0.01)\t(0.0303, 0.0444, 0.01)\t0.004410215 m\n"
                        "\tnormal\t(0, 0, -1)\t(0, 0, 1)\t0.000000000 rad\n"
                        "\tradius\t0.01\t0.0105\t-0.000500000 m\n"
                        "Sphere 1\n"
                        "\tcentre\t(0.1, 0.2, 0.3)\t(0.1, 0.2, 0.3004)\t0.000400000 m\n"
                        "\tradius\t0.005\t0.0051\t-0.000100000 m\n"),
            std::string::npos)
      << output;
}

// A table that cannot be made whole is refused before any of it is printed.
TEST(CompareScript, AFeatureWithoutItsNominalOrOfAnotherKindFailsTheLineAndPrintsNoTable) {
  struct Case {
    const char* lines;
    const char* reason;
  };
  const Case cases[] = {
      {"feature A plane 0 0 0 0 0 1\nfeature A sphere 0 0 0 1\nfeature B plane 0 0 0 0 0 1\ncompare A B\n",
       "'B' has no feature 'Sphere 1'"},
      {"feature A point 0 0 0\nfeature B point 0 0 0\ncompare A B\n",
       "cannot compare 'Point 1' with its nominal feature"},
      {"feature B plane 0 0 0 0 0 1\ncompare A B\n", "'A' holds no feature to compare"},
      {"feature A plane 0 0 0 0 0 1\ncompare A C\n", "the document has no object 'C'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    ScratchDirectory scratch;
    std::ofstream(scratch.system("compare.script")) << "cad-box A 0 0 0 1 1 1\ncad-box B 0 0 0 1 1 1\n"
                                                    << c.lines;
    int status = -1;
    const std::string output = runTool("--script compare.script", status, scratch.system());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(output.find(c.reason), std::string::npos) << output;
    EXPECT_EQ(output.find("\tvalue"), std::string::npos) << output;
  }
}

}  // namespace
