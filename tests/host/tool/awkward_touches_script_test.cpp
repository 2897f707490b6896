// Sessions of palpera-host with the touches a real day brings: stops taken in the middle of a slot, a stray
// touch, touches meant for another feature, and the undo key after them.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "emulator_script.h"
#include "project_script.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

std::string session(const std::string& part, double probeDiameter) {
  return "cad-load RefObject examples/parts/" + part +
         ".step\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter " +
         std::to_string(probeDiameter) + "\n";
}

std::string hardProbe(const std::string& feature, const std::string& collector) {
  return "command PalperaCreateFeaturesCmd2 IZelFeature=" + feature + ",IZelFeatureCollector=" + collector +
         ",UsePlane=false\n" + kRadiusEvent;
}

std::string ray(double x, double y, double z, double degrees) {
  const double angle = degrees * M_PI / 180;
  return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + " " +
         std::to_string(std::cos(angle)) + " " + std::to_string(std::sin(angle)) + " 0";
}

// A touch straight down onto the face below (x, y).
std::string down(double x, double y) {
  return "mouse click " + std::to_string(x) + " " + std::to_string(y) + " 0.05 0 0 -1" + "\n" + kSampled;
}

// Three touches on the plate's top face, away from its features.
std::string topFace() {
  return down(0.005, 0.005) + down(0.095, 0.005) + down(0.05, 0.075);
}

// Each end or corner circle of a slot probed from its centre outwards, its stop lifted off the slot's side
// wall in the middle of the slot, outside every one of those circles: the circles are holes all the same.
TEST(AwkwardTouchesScript, SlotCirclesAreHolesWhereverInTheSlotTheirStopsAre) {
  // Each circle's centre and the first of its three touches, 30° apart.
  using Circles = std::vector<std::tuple<double, double, double>>;
  const auto probed = [](const std::string& part, const std::string& kind, double diameter, Circles circles) {
    std::string script = session(part, diameter) + hardProbe("IZel" + kind, kind) + topFace() +
                         "mouse move 0.005 0.075 0.05 0 0 -1\n" + kLiftedStop;
    for (const auto& [x, y, first] : circles) {
      for (int i = 0; i < 3; ++i)
        script += "mouse click " + ray(x, y, 0.005, first + 30 * i) + "\n" + kSampled;
      script += "mouse move 0.05 0.04 0.005 0 -1 0\n" + kLiftedStop;
    }
    const ScriptRun run = runProjectScript(script + "print document\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("error"), std::string::npos) << run.output;
    return run.output;
  };
  const std::string oval =
      probed("plate-oval-slot", "OvalSlot", 0.004, {{0.035, 0.04, 150}, {0.065, 0.04, -30}});
  EXPECT_NE(oval.find("\tOval Slot\tOval Slot 1\tvisible\tcentre (0.05, 0.04, 0.01)\taxis (1, 0, 0)\t"
                      "length 0.042\twidth 0.012\tcreator "),
            std::string::npos)
      << oval;
  const std::string rounded =
      probed("plate-rounded-slot", "RoundedSlot", 0.002,
             {{0.066, 0.046, 0}, {0.034, 0.046, 90}, {0.034, 0.034, 180}, {0.066, 0.034, 270}});
  EXPECT_NE(rounded.find("\tRounded Slot\tRounded Slot 1\tvisible\tcentre (0.05, 0.04, 0.01)\t"
                         "axis (-1, 0, 0)\tlength 0.04\twidth 0.02\tcorner diameter 0.008\tcreator "),
            std::string::npos)
      << rounded;
}

// Five plain clicks from above beside the boss, the last a stray one on its top: the fitted plane rises over
// the stop lifted at a corner, so compensated away from it it would stand 5 mm up, its normal down. Each
// click's approach says the material lies below, but the stop is not to blame: the plane is refused naming
// the stray touch, its touches kept, and with it undone the plane is the face. The recording holds each
// approach before its touch; its replay agrees.
TEST(AwkwardTouchesScript, APlaneWhoseStopLiesWhereItsTouchesPushedIsRefusedAndUndoMendsIt) {
  ScratchDirectory scratch;
  const std::string log = scratch.system("session.log");
  std::string script =
      session("plate-boss", 0.002) + "record-log " + log + "\n" + hardProbe("IZelPlane", "Plane");
  for (const auto& [x, y] :
       {std::pair{0.005, 0.005}, {0.095, 0.005}, {0.095, 0.075}, {0.005, 0.075}, {0.05, 0.04}})
    script += down(x, y);
  script += "mouse move 0.005 0.075 0.05 0 0 -1\n" + kLiftedStop + "print document\n" + kUndo + kLiftedStop +
            "print document\napply\nstop-recording\n";
  const std::string replay =
      "cad-load RefObject examples/parts/plate-boss.step\nstart\nreplay-log " + log +
      "\ncommand PalperaCreateFeaturesCmd2 IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false\n"
      "run-until Palpera/LogReplayFinished\nprint document\n";
  const std::string objects = "CAD\tRefObject\nPoint\tFeature Object\n";
  const std::string refused =
      "error: Plane was not made: touch 5 of 5 lies 15.0 mm off the plane the other touches make; undo back "
      "to "
      "it and probe on. Its points are kept.\n";
  const std::string face =
      "\tPlane\tPlane 1\tvisible\tcentre (0.05, 0.04, 0.01)\tnormal (0, 0, 1)\tcreator "
      "a8891a8a-641b-465b-873d-1057abb60795\tpoints 4\n";
  for (const bool replayed : {false, true}) {
    const auto [status, output] = runProjectScript(replayed ? replay : script);
    EXPECT_EQ(status, 0) << output;  // the replay tells the refusal the recording told
    EXPECT_NE(output.find(refused), std::string::npos) << output;
    EXPECT_NE(output.find((replayed ? "" : objects) + objects + face), std::string::npos) << output;
  }
  std::ifstream events(scratch.system("session-hardprobe-0000.xml"));
  EXPECT_EQ(occurrences({std::istreambuf_iterator<char>(events), {}}, "</OnMoved><OnPointSampled "), 5u);
}

// A circle's first touches go to its work plane: three in the bore, at one height, with the stop lifted off
// the wall in the bore, make a stop in their own plane. The message says so and offers undo; three undos, the
// top face and the bore again make the bore's circle, and the circle of the run before is kept.
TEST(AwkwardTouchesScript, AStopInThePlaneOfTheTouchesSaysSoAndUndoTakesThemBack) {
  std::string bore;
  for (const double degrees : {0, 120, 240})
    bore += "mouse click " + ray(0.05, 0.04, 0.005, degrees) + "\n" + kSampled;
  bore += "mouse move " + ray(0.05, 0.04, 0.005, 0) + "\n" + kLiftedStop;
  const std::string circle = hardProbe("IZelArc", "Circle");
  const std::string script = session("plate-bore", 0.002) + circle + topFace() + kLiftedStop + bore +
                             "apply\n" + circle + bore + "print document\n" + kUndo + kUndo + kUndo +
                             topFace() + kLiftedStop + bore + "print document\n";
  const auto [status, output] = runProjectScript(script);
  EXPECT_EQ(status, 0) << output;
  const std::string told =
      "error: Circle (Plane) was not made: the stop lies in the plane of the touches, so it cannot tell "
      "which "
      "side they came from; stop again off that plane, or undo to take touches back. Its points are kept.\n";
  EXPECT_NE(output.find(told), std::string::npos) << output;
  const std::string circleAt = "visible\tcentre (0.05, 0.04, 0.01)\tnormal (0, 0, 1)\tradius 0.01\tcreator ";
  const size_t kept = output.find("Point\tFeature Object\n\tCircle\tCircle 1\t" + circleAt);
  ASSERT_NE(kept, std::string::npos) << output;
  const size_t last = output.find("Point\tFeature Object\n\tCircle\tCircle 1\t" + circleAt, kept + 1);
  ASSERT_NE(last, std::string::npos) << output;
  EXPECT_NE(output.find("\tCircle\tCircle 2\t" + circleAt, last), std::string::npos) << output;
}

// The undo key takes back the last touch not yet in a finished feature, and with none does nothing: in
// "Quick Probe" a stray touch lifted off the top face, then three touches undone and three others; in
// single-point "Probe Capture" the last of three points.
TEST(AwkwardTouchesScript, UndoTakesBackTheLastTouchInQuickProbeAndSinglePointCapture) {
  const std::string quick = session("plate-bore", 0.002) +
                            "active RefObject\ncommand PalperaQuickProbeCmd\n" + kRadiusEvent + topFace() +
                            "key press 299\n" + down(0.02, 0.06) + "key release 299\n" + kUndo + kLiftedStop +
                            kUndo + topFace() + kUndo + kUndo + kUndo + down(0.02, 0.02) + down(0.08, 0.02) +
                            down(0.08, 0.06) + kLiftedStop + "print document\n";
  const auto [quickStatus, quickOutput] = runProjectScript(quick);
  EXPECT_EQ(quickStatus, 0) << quickOutput;
  const std::string plane = "\tnormal (0, 0, 1)\tcreator a8891a8a-641b-465b-873d-1057abb60795\tpoints 3\n";
  EXPECT_NE(
      quickOutput.find("Point\tFeature Object\n\tPlane\tPlane 1\tvisible\tcentre (0.05, 0.0283333, 0.01)" +
                       plane + "\tPlane\tPlane 2\tvisible\tcentre (0.06, 0.0333333, 0.01)" + plane),
      std::string::npos)
      << quickOutput;
  // The top face probed again is named apart from its nominal's first probe, and told.
  EXPECT_NE(quickOutput.find("Plane 1 is probed again; this probe is added as Plane 2"), std::string::npos);

  const std::string capture = session("plate-bore", 0.002) +
                              "set Palpera/ProbeCapture/Mode 0\nset Palpera/ProbeCapture/VirtualCamera 0\n"
                              "command PalperaCaptureCmd\npress StartCapture\n" +
                              kRadiusEvent + kUndo + topFace() + kUndo + "print document\n";
  const auto [status, output] = runProjectScript(capture);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("CAD\tRefObject\nPoint\tScan 1\n\tpoints 1\tfirst (0.005, 0.005, 0.011)\t"
                        "last (0.005, 0.005, 0.011)\nPoint\tScan 2\n\tpoints 1\tfirst (0.095, 0.005, 0.011)\t"
                        "last (0.095, 0.005, 0.011)\n"),
            std::string::npos)
      << output;
  EXPECT_EQ(output.find("Scan 3"), std::string::npos) << output;
}

}  // namespace
