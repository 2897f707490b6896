#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/gui/png_image.h"
#include "support/file_size_limit.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

struct ToolRun {
  std::string output;  // standard output and standard error together
  int exitStatus = -1;
};

// Runs the command-line host on a script written to a scratch file, with the module of the tool tests
// (the real module plus a test command and a test plug-in).
class HostScript : public ::testing::Test {
 protected:
  ToolRun run(const std::string& script) {
    std::ofstream(path_) << script;
    return tool("--module " PALPERA_TOOL_TEST_MODULE " --script " + path_);
  }
  // The same with no file growing past bytes while the host runs; the script itself is written whole first.
  ToolRun runOnAFullDisk(const std::string& script, rlim_t bytes) {
    std::ofstream(path_) << script;
    FileSizeLimit full(bytes);
    return tool("--module " PALPERA_TOOL_TEST_MODULE " --script " + path_);
  }
  static ToolRun tool(const std::string& arguments) {
    int status = -1;
    std::string output = runTool(arguments, status);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
  }
  // "<script file>:<line>: <reason>", as a failing line is reported.
  std::string failure(int line, const std::string& reason) const {
    return path_ + ":" + std::to_string(line) + ": " + reason + "\n";
  }

  ScratchDirectory scratch_;
  const std::string path_ = scratch_.system("test.script");
};

// A path is the one word a message shows whole: cut after its first characters, a path in a deep folder
// loses the file's own name.
TEST_F(HostScript, AMessageShowsAPathWholeHoweverLong) {
  const std::string deep = scratch_.system(std::string(80, 'a') + "/" + std::string(70, 'b') + ".log");
  const std::pair<std::string, std::string> cases[] = {
      {"record-log " + deep, "cannot write the host log '" + deep + "'"},
      {"replay-log " + deep, "cannot read the host log '" + deep + "': no such file"},
      {"cad-load Part " + deep, "cannot load the CAD model '" + deep + "': no such file"},
      {"print file " + deep, "cannot print '" + deep + "': no such file"},
  };
  for (const auto& [line, reason] : cases) {
    const ToolRun result = run(line + "\n");
    EXPECT_EQ(result.exitStatus, 1) << line;
    EXPECT_EQ(result.output, failure(1, reason)) << line;
  }
  const ToolRun result = tool("--script " + deep);
  EXPECT_EQ(result.output, "palpera-host: cannot read the script '" + deep + "': no such file\n");
}

TEST_F(HostScript, ASettingSetIsPrintedBackAsItsKindHoldsIt) {
  ToolRun result =
      run("# quoted keys may hold blanks; comments may follow a line\n"
          "set \"Palpera/Hard Probe Features In Command\" 1   # a run-time value\n"
          "set Palpera/MoveEventRateLimitValue 12.5\n\tset Palpera/ActivePlugin \"Arm \\\"B\\\"\ttwo\"\r\n\n"
          "print settings \"Palpera/Hard Probe Features In Command\"\n"
          "print settings Palpera/MoveEventRateLimitValue\nprint settings Palpera/ActivePlugin\n"
          "print settings Palpera/Dialog\n");
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  EXPECT_EQ(result.output,
            "Palpera/Hard Probe Features In Command\t1\nPalpera/MoveEventRateLimitValue\t12.5\n"
            "Palpera/ActivePlugin\tArm \"B\"\\ttwo\nPalpera/Dialog/LargeFontSize\t20\n"
            "Palpera/Dialog/LargeIcons\t0\nPalpera/Dialog/LargeAnnotations\t0\n");
}

// A line that cannot be read stops the script before any line runs; one that fails stops it there. Comment
// lines count.
TEST_F(HostScript, ALineThatCannotBeReadOrFailsStopsTheScriptWithItsReason) {
  using Cases = std::vector<std::pair<std::string, std::string>>;
  const Cases unreadable = {
      {"frobnicate now", "unknown action 'frobnicate'"},
      {"set Palpera/Logging", "missing argument: set KEY VALUE"},
      {"apply now", "too many arguments: apply"},
      {"set \"Palpera/Logging 1", "a quote is left open"},
      {"set \"Palpera/Logging\"1 1", "a quoted word must end at a blank"},
      {"mouse move 1 2 10",
       "missing argument: mouse down|click|double-click|move X Y Z DX DY DZ [left|middle|right]"},
      {"key press", "missing argument: key press|release CODE"},
      {"cad-box RefObject 0 0 0 1 1 1 1", "too many arguments: cad-box NAME X0 Y0 Z0 X1 Y1 Z1"},
      {std::string("replay-log good.log\0junk", 24), "the line holds a NUL byte"},
      {"go" + std::string(200, 'o') + "\x1b[2J", "unknown action 'go" + std::string(62, 'o') + "...'"},
      {"\"\x1b[2J\x7f\u00e9\"", "unknown action '\\x1B[2J\\x7F\u00e9'"},
  };
  const Cases failing = {
      {"set Palpera/Logging one", "'one' is no whole number"},
      {"set Palpera/Logging 2", "2 lies outside [0, 1] of 'Palpera/Logging'"},
      {"set Palpera/ActivePlugin Arm\xff\xc3", "'Arm\uFFFD\uFFFD' is not valid UTF-8"},
      {"set Palpera/ActivePlugin \"\xED\xA0\x80\"", "'\uFFFD\uFFFD\uFFFD' is not valid UTF-8"},
      {"set Palpera/MoveEventRateLimitValue 1e999", "'1e999' is no number"},
      {"set Palpera/MoveEventRateLimitValue 30x", "'30x' is no number"},
      {"set Palpera/NoSuchKey 1", "unknown key 'Palpera/NoSuchKey'"},
      {"set Palpera 1", "'Palpera' is a group and takes no value"},
      {"set Palpera/LogReplayFinished 1", "'Palpera/LogReplayFinished' is an event and takes no value"},
      {"command NoSuchClass", "the module has no class 'NoSuchClass'"},
      {"command PalperaDataItemAdder", "'PalperaDataItemAdder' is no IComponentCommand"},
      {"load-plugin PalperaDataItemAdder", "'PalperaDataItemAdder' is no device plug-in"},
      {"press Ask", "no command is running"},
      {"apply", "no command is running"},
      {"run -1", "a time of -1 ms lies outside 0 to 3600000 ms"},
      {"run-until Palpera/NoSuchEvent", "unknown event 'Palpera/NoSuchEvent'"},
      {"run-until Palpera/LogReplayFinished 30", "'Palpera/LogReplayFinished' did not fire within 30 ms"},
      {"answer maybe", "'maybe' is no answer (yes, retry, no, cancel or a number)"},
      {"print colours", "cannot print 'colours'"},
      {"print document now", "print document takes no further word"},
      {"print settings Palpera/Nothing", "unknown key 'Palpera/Nothing'"},
      {"stop-recording", "no host log is being recorded"},
      {"record-log " + scratch_.system("no/dir/host.log"),
       "cannot write the host log '" + scratch_.system("no/dir/host.log") + "'"},
      {"mouse hover 1 2 10 0 0 -1", "'hover' is no mouse callback (down, click, double-click or move)"},
      {"mouse move 1 2 ten 0 0 -1", "'ten' is no number"},
      {"mouse move 1 2 10 0 0 0", "the ray has no direction"},
      {"mouse click 1 2 10 0 0 -1 thumb", "'thumb' is no button (left, middle or right)"},
      {"key hold 293", "'hold' is no key callback (press or release)"},
      {"key press F1", "'F1' is no key code"},
      {"cad-box RefObject 0 0 0 1 0 1", "the first corner must lie below the second on every axis"},
      {"cad-box RefObject 0 0 0 1 1 nan", "'nan' is no number"},
      {"cad-box \"\" 0 0 0 1 1 1", "the model needs a name"},
      {"feature RefObject torus 0 0 0",
       "'torus' is no feature kind (point, plane, line, circle, sphere, cylinder, cone)"},
      {"feature RefObject plane 0 0 0 0 0", "a plane takes 6 numbers: CX CY CZ NX NY NZ"},
      {"feature RefObject plane 0 0 0 0 0 0", "the normal must not be zero"},
      {"feature RefObject circle 0 0 0 0 0 -0 0.1", "the normal must not be zero"},
      {"feature RefObject circle 0 0 0 0 0 1 0", "the radius R must be above 0, not 0"},
      {"feature RefObject sphere 0 0 0 -0.006", "the radius R must be above 0, not -0.006"},
      {"feature RefObject line 1 2 3 1 2 3", "the line's ends must differ"},
      {"feature RefObject cylinder 1 1 1 1 1 1 0.1", "the axis ends must differ"},
      {"feature RefObject cylinder 0 0 0 0 0 1 -1e-9", "the radius R must be above 0, not -1e-09"},
      {"feature RefObject cone 0 0 0 0 0 1 0 0",
       "the radii R0 and R1 must not be negative, and one must be above 0, not 0 and 0"},
      {"feature RefObject cone 0 0 0 0 0 1 0.01 -0.01",
       "the radii R0 and R1 must not be negative, and one must be above 0, not 0.01 and -0.01"},
      {"feature RefObject point 0 0 0", "the document has no object 'RefObject'"},
      {"replay-log " + scratch_.system("missing.log"),
       "cannot read the host log '" + scratch_.system("missing.log") + "': no such file"},
      {"replay-log " + scratch_.system(),
       "cannot read the host log '" + scratch_.system() + "': not a regular file"},
      {"set Palpera/Logging " + std::string(100, '7'),
       "'" + std::string(64, '7') + "...' is no whole number"},
      {"run " + std::string(90, '0') + "5000000", "a time of 5000000 ms lies outside 0 to 3600000 ms"},
  };
  for (const bool read : {false, true}) {
    for (const auto& [line, reason] : read ? failing : unreadable) {
      ToolRun result =
          run("print settings Palpera/Logging\n# two\n" + line + "\nprint settings Palpera/Logging\n");
      EXPECT_EQ(result.exitStatus, 1) << line;
      EXPECT_EQ(result.output, (read ? "Palpera/Logging\t0\n" : "") + failure(3, reason)) << line;
    }
  }
}

TEST_F(HostScript, TheModuleStartsAtTheStartLineSoTheHostCanBePreparedFirst) {
  ToolRun result =
      run("set \"General/Decimal Places\" 5\nload-plugin ScriptTestPlugin\nprint plugins\nprint images\n"
          "start\nprint settings \"General/Decimal Places\"\nprint images\nstart\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.output.find("ScriptTestPlugin\nGeneral/Decimal Places\t5\nblank\t40x40\n"), 0u)
      << "no icon before the module starts\n"
      << result.output;
  EXPECT_TRUE(result.output.ends_with(failure(8, "the module has started already"))) << result.output;
  ToolRun twice =
      run("print settings Palpera/ActivePlugin\nload-plugin ScriptTestPlugin\nprint plugins\n"
          "load-plugin ScriptTestPlugin\n");
  EXPECT_EQ(twice.output, "Palpera/ActivePlugin\tHard Probe Emulator\nEmulatorPlugin\nScriptTestPlugin\n" +
                              failure(4, "'ScriptTestPlugin' is loaded already"))
      << "the start-up registers the emulator, which the hard-probe manager chooses; a class is loaded once";
}

TEST_F(HostScript, ACommandIsCreatedWithItsArgumentTextAndDrivenThroughItsDialogToApply) {
  ToolRun result =
      run("command ScriptTestCommand \"fast mode\"\nprint dialog\nvalue Distance 2.5\npress Ask\n"
          "answer yes\npress 2\npress Post\nrun-until Palpera/LogReplayFinished 5000\napply\n"
          "print document\nprint dialogs\n");
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  // With no answer queued, the first question is answered "no".
  EXPECT_EQ(
      result.output,
      "command: setContext\ncommand: setGui\ncommand: canRun\ncommand: createGui\n"
      "command: arguments 'fast mode'\ncommand: activate\n1\tnumber\tDistance\t0\tenabled\t\n"
      "2\tbutton\tAsk\t0\tenabled\t\n3\tbutton\tPost\t0\tenabled\t\n4\tbutton\tLocked\t0\tdisabled\t\n5\tbutt"
      "on\tWrite\t0\tenabled\t\n"
      "command: gui value 1 2.5\ncommand: gui event 2 1\ndialog: Again?\ncommand: answered 2\n"
      "command: gui event 2 1\ndialog: Again?\ncommand: answered 1\ncommand: gui event 3 1\n"
      "command: canApply\ncommand: apply\ncommand: deactivate\nPoint\tProbed\n"
      "\tPoint\tOrigin\tvisible\tposition (0, 0, 0)\tcreator 00000001-0002-0003-0000-000000000000\tpoints 2\n"
      "3\tAgain?\t\t2\n3\tAgain?\t\t1\n");
}

TEST_F(HostScript, FeaturesAddedToAnObjectArePrintedInOrderWithTheirNumbers) {
  ToolRun result =
      run("cad-box RefObject 0 0 0 0.1 0.1 0.1\nfeature RefObject plane 0 0 0.1 0 0 2\n"
          "feature RefObject cone 0.05 0.05 0 0.05 0.05 0.1 0.01 0.00999999\n"
          "feature RefObject plane 0 0 0 -0 0 -1\nprint document\n");
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  EXPECT_EQ(result.output,
            "CAD\tRefObject\n"
            "\tPlane\tPlane 1\tvisible\tcentre (0, 0, 0.1)\tnormal (0, 0, 1)\n"
            "\tCone\tCone 1\tvisible\tstart (0.05, 0.05, 0)\tend (0.05, 0.05, 0.1)\taxis (0, 0, 1)\t"
            "start radius 0.01\tend radius 0.00999999\thalf-angle 1e-07\n"
            "\tPlane\tPlane 2\tvisible\tcentre (0, 0, 0)\tnormal (0, 0, -1)\n");
}

TEST_F(HostScript, ACommandThatRefusesStopsTheScriptAndIsStillEndedCleanly) {
  ToolRun cannotRun = run("command ScriptTestCommand cannot-run\n");
  EXPECT_EQ(cannotRun.exitStatus, 1);
  EXPECT_EQ(cannotRun.output,
            "command: setContext\ncommand: setGui\ncommand: canRun\n" +
                failure(1,
                        "ScriptTestCommand: the command says it cannot run (the host: no "
                        "context flag set; plug-ins loaded: EmulatorPlugin (no option entries))"));
  // Still running after a refusal, the command is cancelled as the host closes.
  ToolRun busy = run("command ScriptTestCommand no-apply\napply\n");
  EXPECT_TRUE(busy.output.ends_with(failure(2, "the command cannot apply now; it is still running") +
                                    "command: cancel\ncommand: deactivate\n"))
      << busy.output;
  const std::pair<std::string, std::string> refusals[] = {
      {"command ScriptTestCommand no-activation\nprint dialog",
       "ScriptTestCommand: the command refused to activate"},
      {"command ScriptTestCommand \"no-apply no-cancel\"\npress Locked", "the control 'Locked' is disabled"},
      {"command ScriptTestCommand\nvalue 99 1", "the dialog has no control '99'"},
      {"command ScriptTestCommand\nvalue Nothing 1", "the dialog has no control 'Nothing'"},
      {"command ScriptTestCommand\nvalue -1 1", "the dialog has no control '-1'"},
      {"command ScriptTestCommand\ncommand ScriptTestCommand",
       "another command is running (apply or cancel it first)"},
  };
  for (const auto& [script, reason] : refusals) {
    ToolRun result = run(script + "\n");
    EXPECT_EQ(result.exitStatus, 1) << script;
    const int line = reason.starts_with("ScriptTestCommand") ? 1 : 2;
    EXPECT_NE(result.output.find(failure(line, reason)), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("command: gui event 4"), std::string::npos) << result.output;
  }
}

// The module's emulator, loaded at start, offers no option entries, and the host says so when the options
// command cannot run.
TEST_F(HostScript, ACommandThatCannotRunComesWithWhatTheHostKnows) {
  ToolRun result = run("command PluginOptionsCmd\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(
      result.output.find(failure(1,
                                 "PluginOptionsCmd: the command says it cannot run (the host: no context "
                                 "flag set; plug-ins loaded: EmulatorPlugin (no option entries))")),
      std::string::npos)
      << result.output;
}

// The test command reads every flag and test in canRun and asks to be finished from its buttons.
TEST_F(HostScript, TheContextIsSetByScriptAndACommandFinishesItselfAppliedThenCancelled) {
  const std::string starts = "command: setContext\ncommand: setGui\ncommand: context inCommand=0 ";
  ToolRun result =
      run("cad-box Part 0 0 0 1 1 1\ncad-box Result 0 0 0 1 1 1\nfeature Part point 0 0 0\nactive Part\n"
          "current Result\ncontext boundaryCurrent 1\ncontext boundaryCurrent 0\n"
          "command ContextTestCommand\npress Done\ncurrent\ncommand ContextTestCommand\n"
          "press \"Give up\"\ncontext recordingMacro 1\ncommand ContextTestCommand\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.output,
            starts +
                "recordingMacro=0 sectionCurrent=0 boundaryCurrent=0 singleObjectActive=1 World=0 Result=1 "
                "hasFeatures=1\ncommand: createGui\ncommand: activate\ncommand: gui event 1 1\n"
                "command: canApply\ncommand: apply\ncommand: deactivate\ncommand: asked to finish\n" +
                starts +
                "recordingMacro=0 sectionCurrent=0 boundaryCurrent=0 singleObjectActive=1 World=1 Result=0 "
                "hasFeatures=1\ncommand: createGui\ncommand: activate\ncommand: gui event 2 1\n"
                "command: cancel\ncommand: deactivate\ncommand: asked to finish\n" +
                starts +
                "recordingMacro=1 sectionCurrent=0 boundaryCurrent=0 singleObjectActive=1 World=1 Result=0 "
                "hasFeatures=1\n" +
                failure(14,
                        "ContextTestCommand: the command says it cannot run (the host: context flags set: "
                        "recordingMacro; plug-ins loaded: EmulatorPlugin (no option entries))"));
  const std::pair<std::string, std::string> refusals[] = {
      {"context singleObjectActive 1",
       "singleObjectActive follows the active object: choose it with active OBJECT"},
      {"context busy 1",
       "'busy' is no context flag (inCommand, recordingMacro, sectionCurrent, boundaryCurrent)"},
      {"context inCommand yes", "'yes' is neither 0 nor 1"},
      {"active Nothing", "the document has no object 'Nothing'"},
      {"current Nothing", "the document has no object 'Nothing'"},
      {"unit 5", "'5' is no unit code (0 inch, 1 millimetre, 2 foot, 3 centimetre, 4 micrometre, 7 metre)"},
      {"file-answer out.tfm -1", "'-1' is no filter index"},
      {"file-answer cancel 1", "a cancelled file dialog chooses no filter"},
  };
  EXPECT_EQ(
      run("unit 7\nunit 0\nfile-answer out.tfm\nfile-answer a.xal 2\nfile-answer cancel\nrefuse-save-path\n")
          .exitStatus,
      0);
  for (const auto& [script, reason] : refusals) {
    EXPECT_EQ(run(script + "\n").output, failure(1, reason)) << script;
  }
}

// Choosing the entry already chosen tells the command nothing.
TEST_F(HostScript, EveryKindOfControlIsPrintedAndDrivenByScript) {
  const std::string controls =
      "3\tnumber\tTolerance\t0.001\tenabled\t\tshown 0.0010\trange [0, 0.01]\tcurrent\n"
      "4\tlength\tOffset\t0\tenabled\t\n";
  const std::string table =
      "10\ttable\tStatistics\t0\tenabled\t\trow 1: Property | Value\trow 2: Number of Points | 12";
  ToolRun result =
      run("command DialogTestCommand\nprint dialog\nchoose Targets 0\nchoose Targets 0\nchoose Units 1\n"
          "value Tolerance 0.005\ntype Label \"P 2\"\nradio 8\npress Snap\nprint dialog\n");
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  EXPECT_EQ(
      result.output,
      "command: setContext\ncommand: setGui\ncommand: canRun\ncommand: createGui\ncommand: activate\n"
      "1\tlist\tTargets\t1\tenabled\t\tentry 0 C\tentry 1 B\tentry 2 A (disabled)\n"
      "2\tdropdown\tUnits\t0\tenabled\t\tentry 0 \u00b0C\tentry 1 \u00b0F\n" +
          controls +
          "5\ttext\tLabel\t0\tenabled\tP1\tfont 20\n6\tradiogroup\tPlanes\t7\tenabled\t\n"
          "7\tradio\t\t1\tenabled\tPlane A\tgroup 6\tpicture 5\n"
          "8\tradio\t\t0\tenabled\tPlane B\tgroup 6\tpicture 6\n"
          "9\tbutton\tSnap\t0\tenabled\t\town receiver\n" +
          table +
          "\ncommand: gui value changed 1 0\ncommand: gui value changed 2 1\ncommand: gui value 3 0.005\n"
          "command: gui text 5 'P 2'\ncommand: gui event 8 1\nwidget: gui event 9 1\n"
          "1\tlist\tTargets\t0\tenabled\t\tentry 0 C\tentry 1 B\tentry 2 A (disabled)\n"
          "2\tdropdown\tUnits\t1\tenabled\t\tentry 0 \u00b0C\tentry 1 \u00b0F\n"
          "3\tnumber\tTolerance\t0.005\tenabled\t\tshown 0.0050\trange [0, 0.01]\t"
          "current\n4\tlength\tOffset\t0\tenabled\t\n5\ttext\tLabel\t0\tenabled\tP 2\tfont 20\n"
          "6\tradiogroup\tPlanes\t8\tenabled\t\n7\tradio\t\t0\tenabled\tPlane A\tgroup 6\tpicture 5\n"
          "8\tradio\t\t1\tenabled\tPlane B\tgroup 6\tpicture 6\n"
          "9\tbutton\tSnap\t0\tenabled\t\town receiver\n" +
          table +
          "\trow 3: Maximum | \n"
          "command: cancel\ncommand: deactivate\n");
  const std::pair<std::string, std::string> refusals[] = {
      {"choose Targets 2", "the entry 2 is disabled"},
      {"choose Targets 3", "'3' is no entry of 'Targets' (0 to 2)"},
      {"choose Label 0", "the control 'Label' is no list"},
      {"value Tolerance 0.02", "0.02 lies outside the range of 'Tolerance' [0, 0.01]"},
      {"type Tolerance 1", "the control 'Tolerance' is no text field"},
      {"radio Units", "the control 'Units' is no radio button"},
      {"edit Label 1 1 x", "the control 'Label' shows no table"},
      {"edit Statistics 2 1 x", "the cell 2 1 of 'Statistics' cannot be edited"},
  };
  for (const auto& [line, reason] : refusals) {
    ToolRun refused = run("command DialogTestCommand\n" + line + "\n");
    EXPECT_NE(refused.output.find(failure(2, reason)), std::string::npos) << refused.output;
    EXPECT_EQ(refused.output.find("command: gui"), std::string::npos) << refused.output;
  }
}

// A node shared by two parents is printed under each.
TEST_F(HostScript, EveryNodeKindMadeByNameIsPrintedInItsTree) {
  ToolRun result = run("command SceneTestCommand\nprint scene\n");
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  EXPECT_TRUE(result.output.starts_with("HostGroupNode\t'scene root'\n")) << result.output;
  EXPECT_NE(
      result.output.find(
          "  HostSeparatorNode\t'points'\n"
          "    HostDrawStyleNode\t'style'\tstyle 1, point size 3, line width 1, pattern 65535, front (0, 0, "
          "0, 1)\n"
          "    HostDualMaterialSourceNode\t'material'\tfront theme MaterialLocationSet, back theme "
          "MaterialLocationSet\n"
          "    HostColorMaterialNode\t'colour material'\tenabled 1\n"
          "    HostColorNode\t'colour'\tcolour (0.25, 0.5, 0.5, 1)\n"
          "    HostSeparatorNode\t'point 1'\n      HostSphereNode\t'sphere'\tradius 0.5\n"
          "    HostSeparatorNode\t'point 2'\n"
          "      HostTextNode\t'label'\t'P2' at (1, 2, 3), size 12, flags 2, colour (1, 1, 1, 1)\n"
          "      HostSphereNode\t'sphere'\tradius 0.5\n    HostGroupNode\t'empty'\n"),
      std::string::npos)
      << result.output;
}

// The view's own callbacks and the emulator's come first; the unit tests of the runner show that order.
TEST_F(HostScript, MouseAndKeyLinesReachTheRunningCommandOnceEachAndNothingAfterItEnds) {
  ToolRun result =
      run("command ScriptTestCommand\nmouse down 0 0 1 0 0 -1 right\nmouse move 0 0 1 0 0 -1\n"
          "mouse click 0 0 1 0 0 -1 right\nmouse double-click 0 0 1 0 0 -1\nkey press 294\nkey release 294\n"
          "apply\nkey press 1\n");
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  EXPECT_TRUE(result.output.ends_with(
      "command: activate\ncommand: mouse press 2\ncommand: mouse move 0\ncommand: mouse release 2\n"
      "command: key press 294\ncommand: key release 294\ncommand: canApply\ncommand: apply\n"
      "command: deactivate\n"))
      << result.output;
}

TEST_F(HostScript, TheHostLogIsRecordedUntilStoppedAndCanThenBeReplayed) {
  std::string log = scratch_.system("host.log");
  ToolRun result = run("record-log " + log + "\nstop-recording\nreplay-log " + log + "\nstop-recording\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.output, failure(4, "no host log is being recorded"));
  EXPECT_TRUE(std::filesystem::exists(log));
}

// No script loses a log the user has: a recording writes over an existing file only when the line says
// replace, never over the log being replayed, and a second one waits for stop-recording. Input that is no
// script (a directory, an endless stream) is refused before anything runs.
TEST_F(HostScript, ARecordingOrAScriptFromInputLeavesEveryLogAsItWasUnlessToldToReplaceIt) {
  const std::string kept = "PluginWait\t\n", run = scratch_.system("run.log"),
                    old = scratch_.system("old.log");
  struct Case {
    std::string script;  // run from the script file, or standard input from input
    std::string input;
    int status;
    std::string output;
    std::string oldAfter;
  };
  const std::vector<Case> cases = {
      {"replay-log " + run + "\nrecord-log " + run + " replace\n", "", 1,
       failure(2, "the host log '" + run + "' is being replayed"), kept},
      {"record-log " + old + "\n", "", 1,
       failure(1, "the host log '" + old + "' exists: say record-log FILE replace to write over it"), kept},
      {"record-log " + old + " keep\n", "", 1, failure(1, "'keep' is no word of record-log (only replace)"),
       kept},
      {"record-log " + scratch_.system("new.log") + "\nrecord-log " + old + " replace\n", "", 1,
       failure(2,
               "the host log '" + scratch_.system("new.log") + "' is being recorded: stop-recording first"),
       kept},
      {"record-log " + old + " replace\nstop-recording\n", "", 0, "", ""},
      {"", scratch_.system(), 1,
       "palpera-host: cannot read the script '<stdin>': standard input is a directory\n", kept},
      {"", "/dev/zero", 1, "palpera-host: cannot read the script '<stdin>': it is longer than 16 MiB\n",
       kept},
      {"\xEF\xBB\xBFrecord-log " + old + "\n", "script", 1,
       "<stdin>:1: the host log '" + old + "' exists: say record-log FILE replace to write over it\n", kept},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script + c.input);
    scratch_.write("run.log", kept);
    scratch_.write("old.log", kept);
    std::ofstream(path_, std::ios::trunc) << c.script;
    const std::string input = c.input == "script" ? path_ : c.input;
    ToolRun result = input.empty() ? tool("--module " PALPERA_TOOL_TEST_MODULE " --script " + path_)
                                   : tool("--module " PALPERA_TOOL_TEST_MODULE " --script - < " + input);
    EXPECT_EQ(result.exitStatus, c.status);
    EXPECT_EQ(result.output, c.output);
    EXPECT_EQ(scratch_.read("run.log"), kept);
    EXPECT_EQ(scratch_.read("old.log"), c.oldAfter);
  }
}

TEST_F(HostScript, AScriptIsReadFromStandardInputAndAMissingScriptIsSaidSo) {
  std::ofstream(path_) << "set Palpera/Logging 1\nprint settings Palpera/Logging\nbogus\n";
  ToolRun fromInput = tool("--script - < " + path_);
  EXPECT_EQ(fromInput.output, "<stdin>:3: unknown action 'bogus'\n");
  EXPECT_EQ(fromInput.exitStatus, 1);
  // A directory would read as an empty script.
  for (const auto& [script, reason] : {std::pair{scratch_.system("absent.script"), "no such file"},
                                       std::pair{scratch_.system(), "not a regular file"}}) {
    ToolRun result = tool("--script " + script);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output, "palpera-host: cannot read the script '" + script + "': " + reason + "\n");
  }
}

TEST_F(HostScript, TheModulesMessagesAreShownOnStandardErrorAndListed) {
  std::ofstream(path_) << "print dialogs\n";
  int status = -1;
  // No materials file where this host keeps its data: the module tells the user so, and starts on.
  std::string output = runTool("--script " + path_, status, scratch_.system());
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(output,
            "dialog: File was not found: materials/materials.mtlx\n"
            "0\tFile was not found: materials/materials.mtlx\t \t2\n");
}

TEST_F(HostScript, TheInformationTileIsWrittenToAPngFileAPersonCanOpen) {
  const std::string png = scratch_.system("tile.png");
  ToolRun result =
      run("set Palpera/Tile/FeatureName \"Plane 7\"\ntile \"hardprobe info tile\" " + png + "\n");
  EXPECT_NE(result.output.find("tile hardprobe info tile: 86 x 88 pixels written to " + png),
            std::string::npos)
      << result.output;
  std::string error;
  const std::string bytes = scratch_.read("tile.png");
  std::optional<DecodedImage> picture = decodePng(bytes.data(), bytes.size(), error);
  ASSERT_TRUE(picture) << error;
  EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(86u, 88u));
  EXPECT_EQ(picture->pixel(0, 0), 0x203040E0u) << "the common resources' background";
}

// Each line draws the tile it names, or fails; a file is replaced only by a picture written whole.
TEST_F(HostScript, EachTileLineWritesItsOwnTileOrFailsAndLeavesTheFileThereAsItWas) {
  const std::string a = scratch_.system("A.png"), b = scratch_.system("B.png");
  ToolRun result = run("tile \"hardprobe info tile\" " + a + "\ntile \"hardprobe dimension tile\" " + b +
                       "\ntile \"hardprobe instructions tile\" " + scratch_.system("C.png") + "\n");
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_TRUE(result.output.ends_with(
      failure(3, "the view draws no information tile named \"hardprobe instructions tile\"")))
      << result.output;
  const std::string first = scratch_.read("A.png");
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(first != scratch_.read("B.png")) << "each line its own tile";
  EXPECT_FALSE(scratch_.exists("C.png"));

  result = runOnAFullDisk("tile \"hardprobe dimension tile\" " + a + "\n", 64);  // less than any picture
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_TRUE(result.output.ends_with(failure(1, a + ": File too large"))) << result.output;
  EXPECT_TRUE(scratch_.read("A.png") == first) << "the earlier file, byte for byte";

  std::filesystem::create_directory(scratch_.system("D.png"));
  result = run("tile \"hardprobe info tile\" " + scratch_.system("D.png") + "\n");
  EXPECT_TRUE(result.output.ends_with(failure(1, scratch_.system("D.png") + ": not a regular file")))
      << result.output;
  EXPECT_TRUE(std::filesystem::is_directory(scratch_.system("D.png")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.system()), {}), 4)
      << "the script, A, B and D: nothing left beside them";
}

TEST_F(HostScript, TheOptionsPageChoosesThePlugInAndTheChoiceIsStored) {
  ToolRun result =
      run("load-plugin ScriptTestPlugin\noptions open\noptions pick hardprobe \"Hard Probe Emulator\"\n"
          "print settings Palpera/ActivePlugin\noptions pick hardprobe \"[None]\"\n"
          "print settings Palpera/ActivePlugin\noptions slide 2\nprint settings Palpera/Tile/Scale\n"
          "options print\noptions pick scanning Nothing\n");
  EXPECT_EQ(result.exitStatus, 1) << result.output;
  for (const char* shown :
       {"Palpera/ActivePlugin\tHard Probe Emulator\nPalpera/ActivePlugin\t\n"
        "Palpera/Tile/Scale\t0.40740740740740733\ngroup\n  group \"Plug-Ins\"\n",
        "\n      float Palpera/MoveEventRateLimitValue = 30\n",
        "\nlist 0: [[None]] [Hard Probe Emulator]; selected [None]\n"
        "list 1: [[None]] [Script Test Plug-in]; selected [None]\nslider 4: position 2 of 1 to 10\n"}) {
    EXPECT_NE(result.output.find(shown), std::string::npos) << shown << "\nin\n" << result.output;
  }
  EXPECT_TRUE(result.output.ends_with(failure(10, "the scanning list has no entry 'Nothing'")))
      << result.output;
}

}  // namespace
