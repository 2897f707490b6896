// A disk that fills while a script writes the user's files: the file there before stays whole, and the
// script ends with status 1 at the line whose work failed.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/file_size_limit.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// Less than one line of the export and than a .tfm file of the identity (32 bytes).
constexpr rlim_t kFull = 24;

class FullDiskScript : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(scratch_.system("out"));
    scratch_.write("out/earlier", earlier_);
    scratch_.write("out/earlier.tfm", earlier_);
  }
  // Runs the script on a full disk; answers what the host printed. With signalled, a file grown past the
  // limit sends SIGXFSZ, whose default action ends a process, as it does unless the host says otherwise.
  std::string runFull(const std::string& script, bool signalled = false) {
    std::ofstream(scratch_.system("full.script"))
        << "set DefaultFileNameDirectory/common " << kProject << "/examples\nstart\n"
        << script;
    FileSizeLimit full(kFull);
    if (signalled) std::signal(SIGXFSZ, SIG_DFL);
    return runTool("--script full.script", status_, scratch_.system());
  }

  ScratchDirectory scratch_;
  const std::string earlier_ = std::string(42890, 'e');
  int status_ = -1;
};

const std::string kExportScript =
    "cad-box RefObject 0 0 0 0.1 0.1 0.01\n"
    "set Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter 0.006\n"
    "active RefObject\ncurrent RefObject\ncommand PalperaRealTimeDeviationCmd\n"
    "run-until Palpera/Events/Single/RadiusEvent 10000\nmouse click 0.02 0.02 0.05 0 0 -1\n"
    "run-until Palpera/Events/Single/SampledEvent 10000\n"
    "file-answer out/earlier 2\nanswer yes\npress ExportButton\n";
const std::string kExportFailed =
    "dialog: Overwrite file out/earlier?\n"
    "error: Unable to write file 'out/earlier' whole: a file there before is left as it was.\n"
    "full.script:14: pressing 'ExportButton' failed: 1 error was shown\n";
const std::string kTfmScript =
    "command PalperaManageTransformCmd\nfile-answer out/earlier.tfm 1\npress HardwareSaveFile\n";
const std::string kTfmFailed =
    "error: Unable to open file 'out/earlier.tfm' for saving.\n"
    "full.script:5: pressing 'HardwareSaveFile' failed: 1 error was shown\n";

TEST_F(FullDiskScript, ThePointTableExportFailsThePressAndKeepsTheEarlierExport) {
  const std::string output = runFull(kExportScript);
  EXPECT_EQ(WEXITSTATUS(status_), 1) << output;
  EXPECT_EQ(output, kExportFailed);
  EXPECT_EQ(scratch_.read("out/earlier"), earlier_);
}

TEST_F(FullDiskScript, ATfmSaveFailsThePressAndKeepsTheEarlierFile) {
  const std::string output = runFull(kTfmScript);
  EXPECT_EQ(WEXITSTATUS(status_), 1) << output;
  EXPECT_EQ(output, kTfmFailed) << "the path as the script gave it";
  EXPECT_EQ(scratch_.read("out/earlier.tfm"), earlier_);
}

// The limit's signal would end the host halfway through the file, its new version left beside the earlier
// one: the host takes the limit as a failed write, as on a full disk.
TEST_F(FullDiskScript, AFileSizeLimitAtItsSignalsDefaultFailsTheWriteAndLeavesNothingBeside) {
  const std::pair<std::string, std::string> cases[] = {{kExportScript, kExportFailed},
                                                       {kTfmScript, kTfmFailed}};
  for (const auto& [script, failed] : cases) {
    SCOPED_TRACE(failed);
    const std::string output = runFull(script, true);
    EXPECT_TRUE(WIFEXITED(status_) && WEXITSTATUS(status_) == 1) << output;
    EXPECT_EQ(output, failed);
    EXPECT_EQ(scratch_.read("out/earlier"), earlier_);
    EXPECT_EQ(scratch_.read("out/earlier.tfm"), earlier_);
    EXPECT_EQ(scratch_.names("out"), (std::vector<std::string>{"earlier", "earlier.tfm"}));
  }
}

}  // namespace
