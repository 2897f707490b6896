// What palpera-host says of a file it cannot take as written: UTF-16 in one wording whichever reader meets
// it, a STEP reference as written, and a STEP model that loads as no part is shaped, with a warning.

#include <gtest/gtest.h>

#include <string>

#include "support/run_tool.h"
#include "support/scratch_directory.h"
#include "support/text.h"

TEST(FileWords, EachReaderSaysUtf16AlikeAndAStepFileIsToldAsWritten) {
  ScratchDirectory scratch;
  const std::string box = readFile(PALPERA_TEST_SOURCE_DIR "/host/cad/step/box-inches.step");
  const auto boxWith = [&box](const std::string& from, const std::string& to) {
    std::string text = box;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
    return text;
  };
  const std::string wide = "the text is UTF-16; save it as UTF-8", load = "cad-load Part ";
  struct Case {
    std::string file, text, before, after, told;  // no before: the file is the script
  };
  const Case cases[] = {
      {"wide.step", utf16(box), load, "", "wide.step': " + wide},
      {"wide.xal", utf16(R"(<XAL><R><V n="I">1</V><V n="J">0</V><V n="K">0</V></R></XAL>)"),
       "command PalperaManageTransformCmd\nfile-answer ", " 1\npress HardwareLoadFile",
       "for loading: " + wide + "."},
      {"wide.log", utf16("PluginData\tx.xml\n"), "replay-log ",
       "\ncommand PalperaDumpCmd\npress StartButton\nrun-until Palpera/LogReplayFinished",
       "failed: line 1 cannot be read: " + wide},
      {"wide.script", utf16("start\n"), "", "", wide},
      {"far.step", boxWith("PLANE('',#63);", "PLANE('',#99999999999999999999999);"), load, "",
       ": #99999999999999999999999 is too large for an entity number"},
      {"nowhere.step", boxWith("#61 = DIRECTION('',(0.,0.,-1.));", "#61 = DIRECTION('',(0.,0.,0.));"), load,
       "",
       "Part: warning: #61 is a direction of no length, (0, 0, 0): what is built on it is the CAD kernel's "
       "guess"},
      {"open.step", boxWith(",#153,#165))", ",#153))"), load, "",
       "Part: warning: the CAD kernel kept 0 of the file's 1 solid: the rest are loose faces, which enclose "
       "no inside"},
      {"flat.step", boxWith(",9.));", ",8.));"), load, "",
       "Part: warning: the model is flat: it has no thickness along z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    scratch.write(c.file, c.text);
    scratch.write("run.script", c.before + scratch.system(c.file) + c.after + "\n");
    int status = 0;
    const std::string output =
        runTool("--script " + scratch.system(c.before.empty() ? c.file : "run.script"), status);
    EXPECT_NE(output.find(c.told), std::string::npos) << output;
  }
}
