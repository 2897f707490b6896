// Loading STEP files into the document: bad files are refused by name and leave the document as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/cad/cad_model.h"
#include "host/standin_host.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

const std::string kBore = std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/plate-bore.step";

}  // namespace

TEST(CadFiles, ABadFileIsRefusedByNameAndTheDocumentKeepsWhatItHad) {
  ScratchDirectory scratch;
  const std::string whole = readFile(kBore);
  const auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(scratch.system(name), std::ios::binary) << bytes;
    return scratch.system(name);
  };
  const std::pair<std::string, std::string> cases[] = {
      {scratch.system("missing.step"), "no such file"},
      {scratch.system(), "not a regular file"},
      {write("empty.step", ""), "the file is empty"},
      {write("cut.step", whole.substr(0, whole.size() / 2)), "not a STEP file, or cut short"},
      {write("notes.step", "a plate with a bore, 100 by 80 by 10 mm\n"), "not a STEP file, or cut short"},
      // Its references are of the wrong kinds, which crashes the kernel's translator.
      {std::string(PALPERA_TEST_SOURCE_DIR) + "/../fuzz/corpus/step/translator-crash.step",
       "not a valid STEP model: the CAD kernel failed on it"},
      // Translated whole, it throws from the kernel only as the model is built.
      {std::string(PALPERA_TEST_SOURCE_DIR) + "/../fuzz/corpus/step/nan-coordinate.step",
       "the CAD kernel cannot build a model of it"},
      {write("no-data.step", "ISO-10303-21;\nHEADER;\nENDSEC;\nDATA;\nENDSEC;\nEND-ISO-10303-21;\n"),
       "not a readable STEP file"},
  };
  StandinHost host;
  HostDocument& document = host.document().doc();
  loadCadModel(document, u"RefObject", kBore);
  for (const auto& [path, reason] : cases) {
    SCOPED_TRACE(path);
    try {
      loadCadModel(document, u"Part", path);
      ADD_FAILURE() << "loaded";
    } catch (const CadFileError& error) {
      EXPECT_EQ(error.reason(), reason);
      EXPECT_EQ(std::string(error.what()), "'" + path + "': " + reason);
    }
    EXPECT_EQ(document.objectCount(), 1);
  }
}

TEST(CadFiles, TheCommandLineHostNamesTheFileItCannotLoad) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("load.script")) << "cad-load RefObject parts/nothing.step\n";
  int status = 0;
  const std::string output = runTool("--script " + scratch.system("load.script"), status);
  EXPECT_NE(output.find("cannot load the CAD model 'parts/nothing.step': no such file"), std::string::npos)
      << output;
  EXPECT_NE(status, 0);
}
