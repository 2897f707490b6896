// The alignments a run stores are in force in the next run on the same store, from its start: a capture
// recorded in device coordinates replays through the stored hardware matrix, and a stored matrix the
// services refuse is told at start-up as "Load Previous" tells it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "printed_matrix.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// Replays the recorded capture (the probe swept over a face, in device coordinates) through the dump
// command, then prints the matrices the plug-in holds.
const char* const kReplay =
    "set DefaultFileNameDirectory/common .\nstart\nreplay-log logs/capture-continuous.log\n"
    "command PalperaDumpCmd\npress StartButton\nrun-until Palpera/LogReplayFinished\npress StopButton\n"
    "cancel\nprint alignment\n";

// The hexadecimal text of a stored matrix: 16 little-endian doubles, as a script sets a blob.
std::string blobHex(const Matrix4x4& matrix) {
  std::string hex;
  for (double element : matrix.m) {
    const uint64_t bits = std::bit_cast<uint64_t>(element);
    for (int byte = 0; byte < 8; ++byte) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned>(bits >> (8 * byte) & 0xff));
      hex += digits;
    }
  }
  return hex;
}

// A sampled point and the probe's direction there.
struct Sample {
  Vector3 point, to;
};

// The samples the dump printed, in order.
std::vector<Sample> printedSamples(const std::string& output) {
  std::vector<Sample> samples;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    Sample s;
    if (std::sscanf(line.c_str(), "onPointSampled((%lf,%lf,%lf), (%lf,%lf,%lf)", &s.point.x, &s.point.y,
                    &s.point.z, &s.to.x, &s.to.y, &s.to.z) == 6)
      samples.push_back(s);
  }
  return samples;
}

// The samples the capture recorded, in device coordinates.
std::vector<Sample> recordedSamples() {
  const std::string log = readFile(kProject + "/examples/logs/capture-continuous.xml");
  const std::string number = "<[XYZ]>([^<]*)</[XYZ]>";
  const std::regex sample("<OnPointSampledOrientation[^>]*><Point>" + number + number + number +
                          "</Point><To>" + number + number + number);
  std::vector<Sample> samples;
  for (std::sregex_iterator at(log.begin(), log.end(), sample), end; at != end; ++at) {
    auto value = [&](int i) { return std::stod((*at)[i]); };
    samples.push_back({{value(1), value(2), value(3)}, {value(4), value(5), value(6)}});
  }
  return samples;
}

Matrix4x4 turnedAboutZ(double degrees, const Vector3& shift) {
  Matrix4x4 turn = Matrix4x4::rotation(Vector3(0, 0, 1), degrees * std::acos(-1.0) / 180);
  turn.m[3] = shift.x;
  turn.m[7] = shift.y;
  turn.m[11] = shift.z;
  return turn;
}

void expectMatrix(const Matrix4x4& actual, const Matrix4x4& expected, const char* which) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], 1e-9) << which << " element " << i;
}

struct Case {
  const char* name;
  std::string firstRun;               // after "start", in the examples' folder
  std::optional<Matrix4x4> hardware;  // what the first run applied; nothing: the identity stays in force
  Matrix4x4 object;                   // what the second run holds as the object matrix
  std::vector<std::string> told;      // what the second run tells at its start
};

TEST(StoredAlignment, TheNextRunOnTheStoreDeliversEveryPointThroughItOrTellsWhyItWasNotLoaded) {
  ScratchDirectory scratch;
  const std::string store = scratch.system("store.txt"), script = scratch.system("run.script");
  auto run = [&](const std::string& lines) {
    std::ofstream(script) << lines;
    int status = -1;
    std::string output = runTool("--store '" + store + "' --script '" + script + "'", status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    return output;
  };
  const std::vector<Sample> recorded = recordedSamples();
  ASSERT_GE(recorded.size(), 5u);

  const std::string loadShift =
      "command PalperaManageTransformCmd\nfile-answer transforms/shift.tfm 0\npress "
      "HardwareLoadFile\napply\n";
  const Matrix4x4 turnedObject = turnedAboutZ(30, Vector3(0.01, -0.02, 0.03));
  Matrix4x4 mirrored, withNan, scaledObject = turnedObject;
  mirrored.m[10] = -1;
  for (int i : {0, 1, 2}) scaledObject.m[i] *= 1.5;
  withNan.m[5] = std::nan("");
  const Case cases[] = {
      {"a shift, and a software alignment with its switch on",
       loadShift +
           "set Palpera/Alignment/LoadSoftwareTransformation 1\nset \"Palpera/Alignment/Object Alignment\" " +
           blobHex(turnedObject) + "\n",
       Matrix4x4::translation(Vector3(0.1, 0.2, 0.3)),
       turnedObject,
       {}},
      {"a quarter turn with a shift",
       "command PalperaManageTransformCmd\nfile-answer transforms/quarter-turn.xal 1\npress "
       "HardwareLoadFile\n"
       "apply\n",
       turnedAboutZ(90, Vector3(0.25, -0.1, 0.05)),
       Matrix4x4::identity(),
       {}},
      {"a shift with the hardware switch off",
       loadShift + "set Palpera/Alignment/LoadHardwareTransformation 0\n",
       std::nullopt,
       Matrix4x4::identity(),
       {}},
      {"a mirror and a NaN, both switches on",
       "set \"Palpera/Alignment/Hardware Alignment\" " + blobHex(mirrored) +
           "\nset Palpera/Alignment/LoadSoftwareTransformation 1\nset \"Palpera/Alignment/Object "
           "Alignment\" " +
           blobHex(withNan) + "\n",
       std::nullopt,
       Matrix4x4::identity(),
       {"The stored alignment \"Palpera/Alignment/Hardware Alignment\" was not loaded: ",
        "The stored alignment \"Palpera/Alignment/Object Alignment\" was not loaded: "}},
      {"a software alignment that scales, its switch on",
       "set Palpera/Alignment/LoadSoftwareTransformation 1\nset \"Palpera/Alignment/Object Alignment\" " +
           blobHex(scaledObject) + "\n",
       std::nullopt,
       Matrix4x4::identity(),
       {"The stored alignment \"Palpera/Alignment/Object Alignment\" was not loaded: its 3 x 3 part scales "
        "or "
        "shears."}},
      {"a mirrored software alignment, its switch on",
       "set Palpera/Alignment/LoadSoftwareTransformation 1\nset \"Palpera/Alignment/Object Alignment\" " +
           blobHex(mirrored) + "\n",
       std::nullopt,
       Matrix4x4::identity(),
       {"The stored alignment \"Palpera/Alignment/Object Alignment\" was not loaded: it mirrors."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(store.c_str());
    run("set DefaultFileNameDirectory/common .\nstart\n" + c.firstRun);
    const std::string replayed = run(kReplay);

    const Matrix4x4 hardware = c.hardware.value_or(Matrix4x4::identity());
    expectMatrix(lastMatrixUnder(replayed, "hardware"), hardware, "hardware");
    expectMatrix(lastMatrixUnder(replayed, "object"), c.object, "object");
    const std::vector<Sample> samples = printedSamples(replayed);
    ASSERT_EQ(samples.size(), recorded.size()) << replayed;
    for (size_t i = 0; i < samples.size(); ++i) {
      SCOPED_TRACE("sample " + std::to_string(i));
      const Vector3 point = Matrix4x4::transformPoint(hardware, recorded[i].point);
      const Vector3 to = Matrix4x4::transformVector(hardware, recorded[i].to);
      for (auto [actual, expected] : {std::pair(samples[i].point, point), std::pair(samples[i].to, to)}) {
        EXPECT_NEAR(actual.x, expected.x, 2e-6);
        EXPECT_NEAR(actual.y, expected.y, 2e-6);
        EXPECT_NEAR(actual.z, expected.z, 2e-6);
      }
    }
    // Told once each, before the replay: at the start, not first when a command asks for the matrix.
    const size_t replayStarts = replayed.find("onStartCapture");
    for (const std::string& told : c.told) {
      const size_t at = replayed.find(told);
      EXPECT_LT(at, replayStarts) << told << "\n" << replayed;
      EXPECT_EQ(replayed.find(told, at + 1), std::string::npos) << replayed;
    }
    if (c.told.empty()) {
      EXPECT_EQ(replayed.find("was not loaded"), std::string::npos) << replayed;
    }
  }
}

}  // namespace
