// What palpera-host says of a file it cannot take as written: UTF-16 text in the same words whichever reader
// meets it, a STEP reference as the file writes it, and a STEP model that loads as no part is shaped, with a
// warning.

#include <gtest/gtest.h>

#include <string>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// The text as UTF-16LE with its byte order mark, as an editor saves it.
std::string utf16(const std::string& text) {
  std::string wide = "\xFF\xFE";
  for (char c : text) wide += std::string{c, '\0'};
  return wide;
}

// The box in inches with its first `from` replaced by `to`.
std::string boxWith(const std::string& from, const std::string& to) {
  std::string text = readFile(PALPERA_TEST_SOURCE_DIR "/host/cad/step/box-inches.step");
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

TEST(FileWords, EachReaderSaysUtf16AlikeAndAStepFileIsToldAsWritten) {
  ScratchDirectory scratch;
  const std::string box = readFile(PALPERA_TEST_SOURCE_DIR "/host/cad/step/box-inches.step");
  const std::string xal = R"(<XAL><R><V n="I">1</V><V n="J">0</V><V n="K">0</V></R></XAL>)";
  scratch.write("wide.step", utf16(box));
  scratch.write("wide.xal", utf16(xal));
  scratch.write("wide.log", utf16("PluginData\tx.xml\n"));
  scratch.write("wide.script", utf16("start\n"));
  scratch.write("far.step", boxWith("#64 = PLANE('',#63);", "#64 = PLANE('',#99999999999999999999999);"));
  scratch.write("nowhere.step",
                boxWith("#61 = DIRECTION('',(0.,0.,-1.));", "#61 = DIRECTION('',(0.,0.,0.));"));
  scratch.write("open.step", boxWith("CLOSED_SHELL('',(#65,#97,#119,#141,#153,#165))",
                                     "CLOSED_SHELL('',(#65,#97,#119,#141,#153))"));
  scratch.write("flat.step", boxWith(",9.));", ",8.));"));
  const std::string utf16Words = "the text is UTF-16; save it as UTF-8";
  int scripts = 0;
  const auto script = [&](const std::string& lines) {
    const std::string name = "run-" + std::to_string(++scripts) + ".script";
    scratch.write(name, lines + "\n");
    return "--script " + scratch.system(name);
  };
  struct Case {
    std::string name, arguments, told;
  };
  const Case cases[] = {
      {"STEP", script("cad-load Part " + scratch.system("wide.step")),
       "'" + scratch.system("wide.step") + "': " + utf16Words},
      {"XAL",
       script("command PalperaManageTransformCmd\nfile-answer " + scratch.system("wide.xal") +
              " 1\npress HardwareLoadFile"),
       "for loading: " + utf16Words + "."},
      {"host log",
       script("replay-log " + scratch.system("wide.log") +
              "\ncommand PalperaDumpCmd\npress StartButton\nrun-until Palpera/LogReplayFinished"),
       "failed: line 1 cannot be read: " + utf16Words},
      {"script", "--script " + scratch.system("wide.script"), utf16Words},
      {"a reference beyond numbers", script("cad-load Part " + scratch.system("far.step")),
       ": #99999999999999999999999 is too large for an entity number"},
      {"a plane normal of no length", script("cad-load Part " + scratch.system("nowhere.step")),
       "Part: warning: #61 is a direction of no length, (0, 0, 0): what is built on it is the CAD kernel's "
       "guess"},
      {"a solid become loose faces", script("cad-load Part " + scratch.system("open.step")),
       "Part: warning: the CAD kernel kept 0 of the file's 1 solid: the rest are loose faces, which enclose "
       "no "
       "inside"},
      {"a box of no thickness", script("cad-load Part " + scratch.system("flat.step")),
       "Part: warning: the model is flat: it has no thickness along z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int status = 0;
    const std::string output = runTool(c.arguments, status);
    EXPECT_NE(output.find(c.told), std::string::npos) << output;
  }
}
