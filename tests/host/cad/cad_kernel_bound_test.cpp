// A STEP file never holds the host: the kernel that spins on it is ended at the host's time limit, or with
// the host when it is ended first, and nothing of the reading is left behind; a kernel that cannot write
// its translation says so.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "host/cad/cad_model.h"
#include "host/standin_host.h"
#include "support/default_signals.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// A finite number in a curve of the part that sets the kernel spinning for minutes.
const std::string kSpinning = std::string(PALPERA_TEST_SOURCE_DIR) + "/../fuzz/corpus/step/kernel-spins.step";
// The same files as the host's scripts name them, from the examples' folder the host runs in: the messages
// shorten a long path, and must name the file whole wherever the project stands.
const std::string kSpinningFromExamples = "../fuzz/corpus/step/kernel-spins.step";
const std::string kBoxFromExamples = "../tests/host/cad/step/box-millimetres.step";

// The temporary folder of this process and the programs it starts, for as long as it lives.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& path) {
    if (const char* before = std::getenv("TMPDIR")) before_ = before;
    setenv("TMPDIR", path.c_str(), 1);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder() {
    if (before_)
      setenv("TMPDIR", before_->c_str(), 1);
    else
      unsetenv("TMPDIR");
  }

 private:
  std::optional<std::string> before_;
};

bool isEmptyFolder(const std::string& path) {
  return std::filesystem::is_empty(path);
}

// The processes whose parent is pid, from /proc.
std::vector<pid_t> childrenOf(pid_t pid) {
  std::vector<pid_t> children;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    // pid (command) state ppid ...: the command may hold blanks, so read after its closing parenthesis.
    const size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    long parent = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %ld", &state, &parent) == 2 && parent == pid)
      children.push_back(std::stoi(name));
  }
  return children;
}

// Whether the process runs still: it exists and is no zombie.
bool running(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

// Polls until the condition holds or five seconds pass.
template <class Condition>
bool within5s(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace

TEST(CadKernelBound, AKernelThatSpinsIsEndedAtTheTimeLimitAndLeavesNothing) {
  ScratchDirectory scratch;
  const TemporaryFolder temporary(scratch.system());
  StandinHost host;
  HostDocument& document = host.document().doc();
  try {
    loadCadModel(document, u"Part", kSpinning, nullptr, std::chrono::milliseconds(300));
    ADD_FAILURE() << "loaded";
  } catch (const CadFileError& error) {
    EXPECT_EQ(error.reason(), "the CAD kernel did not finish reading '" + kSpinning + "' in 0.3 s");
  }
  EXPECT_EQ(document.objectCount(), 0);
  // No child of this process is left, running or unreaped.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  EXPECT_TRUE(isEmptyFolder(scratch.system()));
}

TEST(CadKernelBound, TheCommandLineHostSaysHowLongItWaited) {
  ScratchDirectory scratch;
  scratch.write("load.script", "cad-load Part " + kSpinningFromExamples + "\n");
  int status = 0;
  const std::string output =
      runTool("--cad-time-limit 0.5 --script " + scratch.system("load.script"), status,
              PALPERA_TEST_SOURCE_DIR "/../examples", "TMPDIR='" + scratch.system() + "' ");
  EXPECT_EQ(output, scratch.system("load.script") + ":1: cannot load the CAD model '" +
                        kSpinningFromExamples + "': the CAD kernel did not finish reading '" +
                        kSpinningFromExamples + "' in 0.5 s\n");
  EXPECT_NE(status, 0);
  std::filesystem::remove(scratch.system("load.script"));
  EXPECT_TRUE(isEmptyFolder(scratch.system()));
}

TEST(CadKernelBound, TheTimeLimitMustBeSecondsAboveZero) {
  for (const char* limit : {"0", "-1", "abc", "1e400", "nan", ""}) {
    SCOPED_TRACE(limit);
    int status = 0;
    const std::string output = runTool("--cad-time-limit '" + std::string(limit) + "' --info", status);
    EXPECT_EQ(output.substr(0, output.find('\n')),
              "palpera-host: --cad-time-limit takes seconds from 0.001 to a year, not '" +
                  std::string(limit) + "'");
    EXPECT_EQ(status, 2 << 8);
  }
}

// The kernel's process goes with the host whatever signal ends it, and its shape file has no name to leave.
TEST(CadKernelBound, AHostEndedBySignalTakesTheKernelWithIt) {
  for (int signal : {SIGINT, SIGTERM, SIGKILL}) {
    SCOPED_TRACE(strsignal(signal));
    ScratchDirectory scratch;
    ScratchDirectory temporary;
    scratch.write("load.script", "cad-load Part " + kSpinningFromExamples + "\n");
    const pid_t host = fork();
    if (host == 0) {
      useDefaultEndingSignals();
      setenv("TMPDIR", temporary.system().c_str(), 1);
      // Where the module finds its materials, as in the other runs of the host.
      if (chdir(PALPERA_TEST_SOURCE_DIR "/../examples") != 0) _exit(126);
      const std::string script = scratch.system("load.script");
      execl(PALPERA_HOST_TOOL, PALPERA_HOST_TOOL, "--script", script.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_GT(host, 0);
    std::vector<pid_t> kernel;
    EXPECT_TRUE(within5s([&] { return !(kernel = childrenOf(host)).empty(); }));
    kill(host, signal);
    int status = 0;
    ASSERT_EQ(waitpid(host, &status, 0), host);
    EXPECT_TRUE(WIFSIGNALED(status));
    for (pid_t child : kernel) EXPECT_TRUE(within5s([&] { return !running(child); })) << child;
    EXPECT_TRUE(isEmptyFolder(temporary.system()));
  }
}

TEST(CadKernelBound, AKernelThatCannotWriteItsTranslationSaysSo) {
  ScratchDirectory scratch;
  scratch.write("load.script", "cad-load Box " + kBoxFromExamples + "\n");
  struct Case {
    std::string name, before, reason;
  };
  const Case cases[] = {
      // A full disk: the translated box does not fit in 2 blocks of 512 bytes.
      {"full disk", "ulimit -f 2 && ",
       "the CAD kernel could not write the translated shape into the temporary folder (is the disk full?)"},
      {"no temporary folder", "TMPDIR='" + scratch.system("missing") + "' ",
       "no temporary file to translate it in"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int status = 0;
    const std::string output = runTool("--script " + scratch.system("load.script"), status,
                                       PALPERA_TEST_SOURCE_DIR "/../examples", c.before);
    EXPECT_EQ(output, scratch.system("load.script") + ":1: cannot load the CAD model '" + kBoxFromExamples +
                          "': " + c.reason + "\n");
    EXPECT_NE(status, 0);
  }
}
