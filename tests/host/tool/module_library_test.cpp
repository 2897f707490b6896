// The module is one library: copied alone into any folder, it loads there and the host finds it by its one
// exported name.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host_api/zel_component.h"
#include "support/default_signals.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// The lines a program prints about the library, each trimmed of its leading blanks.
std::vector<std::string> linesOf(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::vector<std::string> lines;
  char buffer[1024];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) {
    std::string line(buffer);
    line.erase(0, line.find_first_not_of(' '));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The names the library exports: its defined dynamic symbols.
std::vector<std::string> exportedNames(const std::string& library) {
  std::vector<std::string> names;
  for (const std::string& line : linesOf("nm -D --defined-only --format=just-symbols '" + library + "'"))
    names.push_back(line);
  return names;
}

// The libraries it needs that are not the system's: any of the project's own.
std::vector<std::string> projectLibrariesNeeded(const std::string& library) {
  std::vector<std::string> needed;
  for (const std::string& line : linesOf("readelf -d -W '" + library + "'")) {
    if ((line.find("(NEEDED)") != std::string::npos || line.find("PATH)") != std::string::npos) &&
        line.find("palpera") != std::string::npos)
      needed.push_back(line);
  }
  return needed;
}

volatile sig_atomic_t hostHandlerRuns = 0;
void countRun(int) {
  hostHandlerRuns = hostHandlerRuns + 1;
}

// A host of its own in a child: every ending signal at its default action, or handled by the host (which goes
// on); the module loaded, its EntryPoint called, the module unloaded; then each ending signal raised. The
// child's end: exit 0 once every signal reached the host's handler.
int statusAfterUnloadAndSignals(const std::string& module, bool hostHandles) {
  const pid_t child = fork();
  if (child == 0) {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    for (int signal : endingSignals()) std::signal(signal, hostHandles ? countRun : SIG_DFL);
    void* library = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto entryPoint =
        library ? reinterpret_cast<int32_t (*)(uint32_t*, IZelComponent**)>(dlsym(library, "EntryPoint"))
                : nullptr;
    uint32_t version = 0;
    IZelComponent* component = nullptr;
    if (!entryPoint || entryPoint(&version, &component) != 1 || dlclose(library) != 0) _exit(2);
    for (int signal : endingSignals()) ::raise(signal);
    _exit(hostHandlerRuns == static_cast<int>(endingSignals().size()) ? 0 : 3);
  }
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  return status;
}

}  // namespace

// A module unloaded leaves the host's signal handling as it was before the module came: the host's handler
// is reached by every signal that ends a process, and one at its default action ends the process by itself.
TEST(ModuleLibrary, AfterTheModuleIsUnloadedEverySignalReachesWhatTheHostHadSet) {
  const int handled = statusAfterUnloadAndSignals(PALPERA_MODULE_PATH, true);
  EXPECT_TRUE(WIFEXITED(handled) && WEXITSTATUS(handled) == 0) << handled;
  const int ended = statusAfterUnloadAndSignals(PALPERA_MODULE_PATH, false);
  EXPECT_TRUE(WIFSIGNALED(ended) && WTERMSIG(ended) == endingSignals().front()) << ended;
}

TEST(ModuleLibrary, ACopyAloneInAFreshFolderLoadsAndExportsEntryPointAlone) {
  for (const std::string& built : {std::string(PALPERA_MODULE_PATH), std::string(PALPERA_TOOL_TEST_MODULE)}) {
    SCOPED_TRACE(built);
    ScratchDirectory scratch;
    const std::string copy = scratch.system("module.so");
    std::filesystem::copy_file(built, copy);
    scratch.write("run.script", "start\nprint settings Palpera/Logging\n");
    EXPECT_EQ(exportedNames(copy), std::vector<std::string>{"EntryPoint"});
    EXPECT_EQ(projectLibrariesNeeded(copy), std::vector<std::string>{});
    int status = -1;
    const std::string output = runTool("--module " + copy + " --script run.script", status, scratch.system());
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("Palpera/Logging"), std::string::npos) << output;
  }
}
