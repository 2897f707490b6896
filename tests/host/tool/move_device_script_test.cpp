#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "posed_pick.h"
#include "project_script.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

const std::string kGroup = "Plugins/Hard Probe Emulator/MoveDeviceWidget/";

// The poses the scripts put the plate in.
Matrix4x4 pose(const Vector3& axis, double degrees, const Vector3& shift) {
  return Matrix4x4::translation(shift) * Matrix4x4::rotation(axis.normalized(), degrees * M_PI / 180);
}
const Matrix4x4 kFirstMove = pose({1, 1, 1}, 10, {0.05, -0.03, 0.02});
const Matrix4x4 kSecondMove = pose({1, -2, 0.5}, 7, {-0.04, 0.06, 0.01});

// The "key<tab>value" lines of an output, by key; a key printed twice keeps its later value.
std::map<std::string, std::string> settingsOf(const std::string& output) {
  std::map<std::string, std::string> values;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) values[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return values;
}

// The user-settings file's "key<tab>kind<tab>value" lines, by key.
std::map<std::string, std::string> storedValues(const std::string& text) {
  std::map<std::string, std::string> values;
  for (const auto& [key, rest] : settingsOf(text)) values[key] = rest.substr(rest.find('\t') + 1);
  return values;
}

// The hardware matrix "print alignment" shows: its name line, then four rows.
Matrix4x4 printedHardware(const std::string& output) {
  Matrix4x4 matrix;
  std::istringstream rows(output.substr(output.find("hardware\n") + 9));
  for (double& element : matrix.m) rows >> element;
  return matrix;
}

void expectIdentity(const Matrix4x4& m) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m.m[i], i % 5 == 0 ? 1.0 : 0.0, 1e-7) << "element " << i;
}

std::string session(const std::string& store, const char* script) {
  int status = -1;
  std::string output = runTool("--store '" + store + "' --script examples/" + script, status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 0) << script << "\n" << output;
  return output;
}

// Three sessions of "Move Device" on one store file: the first probes the references, moves the plate and
// probes two targets, and leaves with the run saved; the second resumes it and finishes; the third moves the
// plate again with the targets of the first move as its references.
TEST(MoveDeviceScripts, ARunSavedInOneSessionIsFinishedInTheNextAndItsTargetsServeTheMoveAfter) {
  ScratchDirectory scratch;
  const std::string store = scratch.system("store.txt");
  std::string output = session(store, "move-device-before.script");
  EXPECT_NE(output.find(kGroup + "State\t2\n"), std::string::npos) << output;
  const std::map<std::string, std::string> saved = storedValues(readFile(store));
  ASSERT_EQ(saved.at(kGroup + "Ref3_Name"), "Point 4");
  ASSERT_EQ(saved.at(kGroup + "Tar1_Name"), "Point 2");
  // The store keeps what a session changed: a target never named holds its empty default.
  EXPECT_EQ(saved.count(kGroup + "Tar2_Name") ? saved.at(kGroup + "Tar2_Name") : "", "");

  output = session(store, "move-device-after.script");
  EXPECT_NE(output.find("entry 0 Pair 1\tentry 1 Pair 2\tentry 2 Pair 3\tentry 3 Pair 4"), std::string::npos)
      << output;
  expectIdentity(printedHardware(output) * kFirstMove);
  const std::map<std::string, std::string> after = settingsOf(output);
  EXPECT_EQ(after.at(kGroup + "State"), "4");
  for (int slot = 0; slot < 8; ++slot) {
    SCOPED_TRACE(slot);
    const std::string entry = std::to_string(slot) + "_";
    EXPECT_EQ(after.at(kGroup + "Ref" + entry + "Name"), "");
    if (slot >= 4) continue;
    EXPECT_EQ(after.at(kGroup + "Tar" + entry + "Name"), "Point " + std::to_string(slot + 1));
    for (const char* axis : {"X", "Y", "Z"}) {
      const double reference = std::stod(saved.at(kGroup + "Ref" + entry + axis));
      EXPECT_NEAR(std::stod(after.at(kGroup + "Tar" + entry + axis)), reference, 1e-7) << axis;
      // The session ends by probing the first reference again on the moved plate.
      if (slot == 0) {
        EXPECT_NEAR(std::stod(after.at(kGroup + "Ref0_" + axis)), reference, 1e-7) << axis;
      }
    }
  }

  output = session(store, "move-device-again.script");
  expectIdentity(printedHardware(output) * kSecondMove);
}

// A sphere reference probed with the emulator and the stop taken on the sphere, without lifting the tip: the
// stop cannot tell on which side the air is. The operator is told so, as in "Hard Probe Features"; the pass
// and its five touches are kept, and a lifted stop then makes the sphere's centre the first reference.
TEST(MoveDeviceScripts, AStopOnTheSphereKeepsThePassAndItsTouchesAndSaysToLiftTheProbe) {
  const Vector3 centre{0.02, 0.02, 0.03};  // of the sphere of examples/parts/sphere-on-stand.step
  std::ostringstream script;
  script.precision(17);
  script << "cad-load RefObject examples/parts/sphere-on-stand.step\nset DefaultFileNameDirectory/common "
            "examples\n"
         << "start\nset Palpera/Emulator/MaxNoiseFactor 0\ncommand PalperaMoveDeviceCmd\n"
         << "press :MoveDeviceWidget:StartBeginButton\npress :MoveDeviceWidget:RefTypeSphere\n"
         << "run-until Palpera/Events/Single/RadiusEvent 10000\n";
  // Five touches, each aimed at the centre from outside, from above and from four sides.
  for (const Vector3& side :
       {Vector3(0, 0, 1), Vector3(1, 0, 0.3), Vector3(-1, 0, 0.3), Vector3(0, 1, 0.3), Vector3(0, -1, 0.3)}) {
    const Vector3 along = side.normalized();
    const Vector3 from = centre + 0.1 * along;
    script << "mouse click " << from.x << " " << from.y << " " << from.z << " " << -along.x << " " << -along.y
           << " " << -along.z << "\nrun-until Palpera/Events/Single/SampledEvent 10000\n";
  }
  script << "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\nprint dialog\n"
         << "key press 299\nkey press 293\nkey release 299\nrun-until Palpera/Events/Single/StopEvent 10000\n"
         << "print dialog\ncancel\n";
  ScratchDirectory scratch;
  std::ofstream(scratch.system("sphere.script")) << script.str();
  int status = -1;
  const std::string output = runTool("--script " + scratch.system("sphere.script"), status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  const std::string told =
      "error: Sphere Center was not made: the stop was taken on the surface; lift the probe off the surface "
      "and stop again. Its points are kept.\n";
  ASSERT_NE(output.find(told), std::string::npos) << output;
  const std::string list = "\tlist\t:MoveDeviceWidget:RefDisplayList\t";
  const size_t first = output.find(list), second = output.find(list, first + 1);
  ASSERT_NE(second, std::string::npos) << output;
  EXPECT_EQ(output.substr(first, output.find('\n', first) - first).find("entry 0"), std::string::npos)
      << "no reference after the refused stop: " << output;
  EXPECT_NE(output.substr(second, output.find('\n', second) - second).find("entry 0 Sphere Center 1"),
            std::string::npos)
      << output;
}

// Slips of "Move Device" on the plate moved by the first pose: "Done" stores nothing before every reference
// has its target, nor without asking while a pair lies beyond tolerance; references on one line are told
// before the move. Each time the operator goes on and "Done" stores the move.
TEST(MoveDeviceScripts, DoneStoresNothingSilentlyAndAsksBeforeStoringPairsBeyondTolerance) {
  using Ray = std::pair<Vector3, Vector3>;  // from a point of the plate along a direction
  const Ray down1{{0.02, 0.02, 0.05}, {0, 0, -1}}, down2{{0.08, 0.06, 0.05}, {0, 0, -1}},
      side{{-0.05, 0.04, 0.005}, {1, 0, 0}}, front{{0.05, -0.05, 0.005}, {0, 1, 0}},
      inLine{{0.05, 0.02, 0.05}, {0, 0, -1}}, lineEnd{{0.08, 0.02, 0.05}, {0, 0, -1}};
  const std::string stop = "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n";
  const std::string before = readFile(kProject + "/examples/move-device-before.script");
  const size_t move = before.find("transform RefObject");
  // Each touch ended by its stop; a target is probed in a run of its own, its click waiting for its radius.
  const auto touched = [&](std::initializer_list<Ray> rays, const Matrix4x4& pose = kFirstMove,
                           const std::string& run = kRadiusEvent) {
    std::string script;
    for (const auto& [from, along] : rays) script += run + posedPick(pose, from, along) + stop;
    return script;
  };
  const Matrix4x4 still = Matrix4x4::identity();
  const std::string fourReferences = touched({down1, down2, side, front}, still, "") + stop;
  const std::string next = "press :MoveDeviceWidget:NextButton\n",
                    done = "press :MoveDeviceWidget:DoneButton\n";
  const struct {
    const char* slip;
    std::string references, slipped, recovered, told;  // the references up to the end of their pass
  } cases[] = {
      {"targets 1 and 2 swapped", fourReferences,
       touched({down2, down1, side, front}) + next + "answer yes\n" + done,
       touched({down1, down2, side, front}) + next,
       "dialog: One or more points are out of tolerance.\nProbe the failed points again?\n"},
      {"a pass of targets ended after the first", fourReferences,
       touched({down1}) + kRadiusEvent + stop + done,
       "press :MoveDeviceWidget:TargetStart\n" + touched({down2, side, front}) + next,
       "dialog: Nothing was stored: 1 of 4 targets are probed; probe the rest, then press Next.\n"},
      {"three references on one line",
       touched({down1, inLine, lineEnd}, still, "") + stop + next + "press :MoveDeviceWidget:RefTypePoint\n" +
           touched({front}, still) + stop,
       "", touched({down1, inLine, lineEnd, front}) + next,
       "dialog: The references lie on one line, so the move cannot be fitted: probe a reference off that "
       "line before moving the device or the part.\n"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.slip);
    const std::string script =
        "cad-load RefObject examples/parts/plate-bore.step\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\n"
        "command PalperaMoveDeviceCmd\npress :MoveDeviceWidget:StartBeginButton\n"
        "press :MoveDeviceWidget:RefTypePoint\n" +
        kRadiusEvent + each.references + "answer 1\n" + next +
        before.substr(move, before.find('\n', move) + 1 - move) + each.slipped + "print alignment\n" +
        each.recovered + done + "print alignment\napply\n";
    const ScriptRun run = runScriptWithOwnStore(script);
    const std::string& output = run.output;
    EXPECT_EQ(run.status, 0) << output;
    EXPECT_NE(output.find(each.told), std::string::npos) << output;
    expectIdentity(printedHardware(output));
    expectIdentity(printedHardware(output.substr(output.rfind("hardware\n"))) * kFirstMove);
  }
}

// How far the stored move puts a corner of the plate, moved from before to after, off its place before the
// move.
double furthestCorner(const Matrix4x4& stored, const Matrix4x4& before, const Matrix4x4& after) {
  double furthest = 0;
  for (const Vector3& corner :
       {Vector3(0, 0, 0), Vector3(0.1, 0, 0.01), Vector3(0, 0.08, 0.01), Vector3(0.1, 0.08, 0)})
    furthest = std::max(furthest, (Matrix4x4::transformPoint(stored * after, corner) -
                                   Matrix4x4::transformPoint(before, corner))
                                      .length());
  return furthest;
}

// References on the plate turned and shifted, touched with the emulator's noise: a third reference 1.5 or 3
// mm off the line through the first two (60 mm apart) lets the noise alone turn the move a degree or more,
// beyond the 1 mm tolerance across the references, and is asked about before the move, "yes" probing another
// and "no" going on; one on the line is told. A sound spread is not asked about, nor 3 mm within a 3 mm
// tolerance (the plate's far corners move 2.4 mm); a 6 mm triangle on the plate is asked about, and Next
// after a "yes" asks again. After the move, a target probed 4 mm beside its place is probed again from it on,
// and targets on one line are told at Next and store nothing.
TEST(MoveDeviceScripts, ReferencesNearALineAreAskedAboutWhereTheProbingNoiseTurnsTheMoveBeyondTolerance) {
  using Ray = std::pair<Vector3, Vector3>;
  const auto top = [](double x, double y) { return Ray{{x, y, 0.05}, {0, 0, -1}}; };
  const auto off = [&](double millimetres) { return top(0.05, 0.02 + millimetres / 1000); };
  const Ray first = top(0.02, 0.02), second = top(0.08, 0.02), far = top(0.02, 0.065),
            corner = top(0.08, 0.065), side{{-0.05, 0.04, 0.005}, {1, 0, 0}},
            front{{0.05, -0.05, 0.005}, {0, 1, 0}};
  const Matrix4x4 before = pose({2, -1, 3}, 25, {0.03, 0.01, -0.02}), after = kFirstMove * before;
  const std::string stop = "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n",
                    next = "press :MoveDeviceWidget:NextButton\n",
                    done = "press :MoveDeviceWidget:DoneButton\n",
                    smallBall = "set Palpera/Emulator/ProbeDiameter 0.002\n";
  // A pass of references in one run, ended by a stop without a touch; then Next.
  const auto references = [&](std::initializer_list<Ray> rays, const std::string& answer = "") {
    std::string script = "press :MoveDeviceWidget:RefTypePoint\n" + kRadiusEvent;
    for (const auto& [from, along] : rays) script += posedPick(before, from, along) + stop;
    return script + stop + answer + next;
  };
  // Targets on the moved plate, each probed in a run of its own.
  const auto targets = [&](std::initializer_list<Ray> rays) {
    std::string script;
    for (const auto& [from, along] : rays) script += kRadiusEvent + posedPick(after, from, along) + stop;
    return script;
  };
  std::string move = "transform RefObject";
  for (double element : after.m) move += numbers({element});
  const std::string asked =
                        "dialog: The references lie too close to one line or to each other: at a probing "
                        "error of 0.035 mm the move fitted to them may put the part off by up to ",
                    inLine = "dialog: The references lie on one line",
                    unfitted = "dialog: The best fit failed: at least three references not on one line",
                    outside = "dialog: One or more points are out of tolerance.";
  const struct {
    const char* slip;
    std::string settings, probed, moved;  // the references and their Nexts; the targets and theirs
    std::vector<std::string> told;        // of the words above, those the run shows before its last press
    double within;  // metres the stored move may put a corner of the plate off; 0: nothing is stored
    std::string last = "press :MoveDeviceWidget:DoneButton\n";  // the press that ends the run
  } cases[] = {
      {"on one line",
       "",
       references({first, off(0), second}) + references({far}),
       targets({first, off(0), second, far}) + next,
       {inLine},
       0.0004},
      {"1.5 mm off, probed further off",
       "",
       references({first, off(1.5), second}, "answer yes\n") + references({far}),
       targets({first, off(1.5), second, far}) + next,
       {asked},
       0.0004},
      {"1.5 mm off, a 2 mm ball",
       smallBall,
       references({first, off(1.5), second}, "answer yes\n") + references({far}),
       targets({first, off(1.5), second, far}) + next,
       {asked},
       0.0004},
      {"3 mm off, kept",
       "",
       references({first, off(3), second}, "answer no\n"),
       targets({first, off(3), second}) + next,
       {asked},
       0.01},
      {"3 mm off within a 3 mm tolerance",
       "set Palpera/IterativeAlignment/Tolerance 0.003\n",
       references({first, off(3), second}),
       targets({first, off(3), second}) + next,
       {},
       0.01},
      {"a sound spread",
       smallBall,
       references({first, far, second}),
       targets({first, far, second}) + next,
       {},
       0.0004},
      {"a 6 mm triangle on the 100 mm plate",
       "",
       references({top(0.015, 0.06), top(0.021, 0.06), top(0.018, 0.065)}, "answer no\n"),
       targets({top(0.015, 0.06), top(0.021, 0.06), top(0.018, 0.065)}) + next,
       {asked},
       0.01},
      {"1.5 mm off, Next again after yes",
       "",
       references({first, off(1.5), second}, "answer yes\n") + "answer no\n" + next,
       targets({first, off(1.5), second}) + next,
       {asked},
       0.01},
      {"target 3 probed 4 mm beside its place",
       "",
       references({first, second, far, corner, side, front}),
       targets({first, second, top(0.02, 0.069), corner, side, front}) + next + "answer yes\n" + done +
           targets({far, corner, side, front}) + next,
       {outside},
       0.0004},
      {"targets on one line",
       "set Palpera/Emulator/MaxNoiseFactor 0\n",
       references({first, far, second}),
       targets({first, off(0), second}) + next,
       {unfitted},
       0,
       "answer no\npress :MoveDeviceWidget:ExitButton\n"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.slip);
    std::string script =
        "cad-load RefObject examples/parts/plate-bore.step\nstart\n" + each.settings + "transform RefObject";
    for (double element : before.m) script += numbers({element});
    script += "\ncommand PalperaMoveDeviceCmd\npress :MoveDeviceWidget:StartBeginButton\n" + each.probed +
              move + "\n" + each.moved + "print alignment\n" + each.last + "print alignment\napply\n";
    const ScriptRun run = runScriptWithOwnStore(script);
    const std::string& output = run.output;
    EXPECT_EQ(run.status, 0) << output;
    const std::string shown = output.substr(0, output.find("hardware\n"));
    for (const std::string& word : {asked, inLine, unfitted, outside}) {
      const bool told = std::find(each.told.begin(), each.told.end(), word) != each.told.end();
      EXPECT_EQ(shown.find(word) != std::string::npos, told) << word << "\n" << output;
    }
    const Matrix4x4 stored = printedHardware(output.substr(output.rfind("hardware\n")));
    if (each.within > 0) {
      EXPECT_LT(furthestCorner(stored, before, after), each.within) << output;
    } else {
      expectIdentity(stored);
    }
  }
}

// A sphere reference on the part turned and shifted, its stop first taken on the sphere and refused, recorded
// as the operator probed it: its replay tells the same refusal and makes the same reference, and so ends
// well. A log whose recording showed other errors than the replay shows is a replay gone another way.
TEST(MoveDeviceScripts, AReplayThatTellsTheRefusalTheRecordingToldSucceedsAndOneThatTellsOthersFails) {
  const Matrix4x4 placed = pose({1, 2, -1}, 35, {0.01, -0.02, 0.03});
  const Vector3 centre{0.02, 0.02, 0.03};  // of the sphere of examples/parts/sphere-on-stand.step
  std::string start =
      "cad-load RefObject " + kProject + "/examples/parts/sphere-on-stand.step\nstart\ntransform RefObject";
  for (double element : placed.m) start += numbers({element});
  const std::string begin =
      "\ncommand PalperaMoveDeviceCmd\npress :MoveDeviceWidget:StartBeginButton\n"
      "press :MoveDeviceWidget:RefTypeSphere\n";
  std::string recording = start + "\nrecord-log session.log\n" + begin + kRadiusEvent;
  for (const Vector3& side :
       {Vector3(0, 0, 1), Vector3(1, 0, 0.3), Vector3(-1, 0, 0.3), Vector3(0, 1, 0.3), Vector3(0, -1, 0.3)})
    recording += posedPick(placed, centre + 0.1 * side.normalized(), -side.normalized());
  recording += "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n" + kLiftedStop +
               "print dialog\ncancel\nstop-recording\n";
  const std::string replay = start + "\nreplay-log session.log" + begin +
                             "run-until Palpera/LogReplayFinished\nprint dialog\ncancel\n";
  const std::string refusal =
      "Sphere Center was not made: the stop was taken on the surface; lift the probe "
      "off the surface and stop again. Its points are kept.";
  ScratchDirectory scratch;
  std::ofstream(scratch.system("recording.script")) << recording;
  int status = -1;
  const std::string recorded = runTool("--script recording.script", status, scratch.system());
  ASSERT_EQ(WEXITSTATUS(status), 0) << recorded;
  const std::string log = readFile(scratch.system("session.log")),
                    record = "HostErrorShown\t" + refusal + "\n";
  ASSERT_NE(log.find(record), std::string::npos) << log;
  const std::string failed = "palpera-host: the replay of the host log 'session.log' failed: ";
  const struct {
    const char* log;
    std::string recordBecomes, says;  // the error's record in the log; what the host says at its end
  } cases[] = {
      {"as recorded", record, ""},
      {"without the refusal", "", failed + "1 error was shown\n"},
      {"with another error", "HostErrorShown\tPlane was not made.\n",
       failed + "error 1 shown was \"" + refusal +
           "\", where the recording showed \"Plane was not made.\"\n"},
      {"with the refusal twice", record + record,
       failed + "1 error was shown, not the 2 the recording showed\n"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.log);
    std::string edited = log;
    edited.replace(edited.find(record), record.size(), each.recordBecomes);
    std::ofstream(scratch.system("session.log"), std::ios::trunc) << edited;
    std::ofstream(scratch.system("replay.script")) << replay;
    const std::string output = runTool("--script replay.script", status, scratch.system());
    EXPECT_EQ(WEXITSTATUS(status), each.says.empty() ? 0 : 1) << output;
    EXPECT_NE(output.find("error: " + refusal + "\n"), std::string::npos) << output;
    EXPECT_NE(output.find("entry 0 Sphere Center 1"), std::string::npos) << output;
    if (each.says.empty()) {
      EXPECT_EQ(output.find(failed), std::string::npos) << output;
    } else {
      EXPECT_TRUE(output.ends_with(each.says)) << output;
    }
  }
}

}  // namespace
