// Loading STEP files into the document: bad files are refused by name and leave the document as it was.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>

#include "host/cad/cad_model.h"
#include "host/standin_host.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"
#include "tests/host/cad/step_test_files.h"

namespace {

const std::string kBore = std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/plate-bore.step";
// Boxes written as other CAD systems write them, in their own units: 100 x 80 x 25 mm from z = 200 mm, and
// 4 x 3 x 1 inches from z = 8 inches.

// The z of the model's face whose plane faces up.
double topFaceHeight(const BrepModel& model) {
  for (uint32_t face = 1; face <= model.faceCount(); ++face) {
    const BrepModel::Surface& s = model.surface(face);
    if (s.kind == BrepModel::SurfaceKind::plane && s.axis[2] > 0.5) return s.origin[2];
  }
  return NAN;
}

}  // namespace

TEST(CadFiles, FilesInMillimetresAndInchesLoadAtTheirTrueSizeInMetres) {
  struct Case {
    std::string file, units;
    BrepModel::Point low, high;
  };
  constexpr double kInch = 0.0254;
  const Case cases[] = {
      {"box-millimetres.step", "millimetre", {0, 0, 0.2}, {0.1, 0.08, 0.225}},
      {"box-inches.step", "INCH", {0, 0, 8 * kInch}, {4 * kInch, 3 * kInch, 9 * kInch}},
  };
  StandinHost host;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    CadFileReading units;
    IPtr<HostDocObject> object = loadCadModel(host.document().doc(), u"RefObject", kStepDir + c.file, &units);
    EXPECT_EQ(units.lengthUnits, c.units);
    std::shared_ptr<const BrepModel> model = cadModelById(object->id());
    ASSERT_TRUE(model);
    EXPECT_EQ(model->solidCount(), 1u);
    EXPECT_EQ(model->faceCount(), 6u);
    EXPECT_NEAR(topFaceHeight(*model), c.high[2], 1e-12);
    // The kernel widens boxes by its tolerance, a tenth of a micrometre.
    const auto [low, high] = model->bounds();
    for (size_t axis = 0; axis < 3; ++axis) {
      EXPECT_NEAR(low[axis], c.low[axis], 1e-6);
      EXPECT_NEAR(high[axis], c.high[axis], 1e-6);
    }
    // What a probe touches: the closest point above the top face lies on it.
    const std::optional<BrepModel::FacePoint> touched = model->closestOnFaces({0.05, 0.03, c.high[2] + 0.01});
    ASSERT_TRUE(touched);
    EXPECT_NEAR(touched->point[2], c.high[2], 1e-9);
  }
}

TEST(CadFiles, TheCommandLineHostSaysWhichUnitAFileDeclaresAndHowLargeItsModelIs) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("load.script")) << "cad-load Box " << kStepDir << "box-millimetres.step\n"
                                               << "cad-load RefObject " << kBore << "\n";
  int status = 0;
  const std::string output = runTool("--script " + scratch.system("load.script"), status);
  EXPECT_EQ(output,
            "Box: unit millimetre, 1 solid, 6 faces, size 0.1 x 0.08 x 0.025 m\n"
            "RefObject: unit metre, 1 solid, 8 faces, size 0.1 x 0.08 x 0.01 m\n");
  EXPECT_EQ(status, 0);
}

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
      // The kernel would take the number in and spin on it.
      {std::string(PALPERA_TEST_SOURCE_DIR) + "/../fuzz/corpus/step/nan-coordinate.step",
       "#12 holds 'NAN', which is not a finite number"},
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

namespace {

// A file the host may not read: the kernel lets no one read this one, root included; others are refused a
// file that is theirs once it is made unreadable.
std::string unreadableFile(ScratchDirectory& scratch) {
  if (geteuid() == 0) return "/proc/sys/vm/drop_caches";
  std::ofstream(scratch.system("unreadable.step")) << readFile(kBore);
  std::filesystem::permissions(scratch.system("unreadable.step"), std::filesystem::perms::none);
  return scratch.system("unreadable.step");
}

}  // namespace

// An editor's byte order mark before the first keyword, or blank lines after the last, leave a STEP file as
// whole as it was; a file that exists but may not be read is not called something else.
TEST(CadFiles, AMarkedOrBlankTailedFileLoadsAtItsSizeAndAnUnreadableOneSaysSo) {
  ScratchDirectory scratch;
  const std::string whole = readFile(kBore);
  std::ofstream(scratch.system("marked.step"), std::ios::binary) << "\xEF\xBB\xBF" << whole;
  std::string blanks;
  for (int line = 0; line < 300; ++line) blanks += line % 2 ? "\r\n" : " \t\n";
  std::ofstream(scratch.system("blank-tail.step"), std::ios::binary) << whole << blanks;
  const std::string unreadable = unreadableFile(scratch);
  const std::string script = scratch.system("load.script");
  std::ofstream(script) << "cad-load Marked " << scratch.system("marked.step") << "\ncad-load Blank "
                        << scratch.system("blank-tail.step") << "\ncad-load Part " << unreadable << "\n";
  int status = 0;
  const std::string output = runTool("--script " + script, status);
  EXPECT_EQ(output,
            "Marked: unit metre, 1 solid, 8 faces, size 0.1 x 0.08 x 0.01 m\n"
            "Blank: unit metre, 1 solid, 8 faces, size 0.1 x 0.08 x 0.01 m\n" +
                script + ":3: cannot load the CAD model '" + unreadable +
                "': cannot be read: Permission denied\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);
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
