#pragma once

// A script of host actions run by the command-line host from the project's folder, with the examples as the
// host's data directory, written to a scratch folder that is gone afterwards.

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

struct ScriptRun {
  int status;  // the host's exit status; -1 when it did not exit
  std::string output;
};

inline ScriptRun runProjectScript(const std::string& script) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("session.script")) << "set DefaultFileNameDirectory/common examples\n"
                                                  << script;
  int status = -1;
  std::string output = runTool("--script " + scratch.system("session.script"), status, kProject);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// The script as written, run from the project's folder with a settings store of its own, fresh for the run.
inline ScriptRun runScriptWithOwnStore(const std::string& script) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("session.script")) << script;
  int status = -1;
  std::string output =
      runTool("--store '" + scratch.system("store.txt") + "' --script " + scratch.system("session.script"),
              status, kProject);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// The lines of a script that replay one run's device events (an event file's text) through a command, then
// print the document and cancel the command; the event file and the host log naming it are written into
// scratch, named by run.
inline std::string replayedRun(const ScratchDirectory& scratch, const std::string& run,
                               const std::string& events, const std::string& command) {
  const std::string eventFile = "arm" + run + ".xml", log = "run" + run + ".log";
  std::ofstream(scratch.system(eventFile)) << events;
  std::ofstream(scratch.system(log)) << "PluginData\t" << eventFile << "\nPluginWait\t\n";
  return "replay-log " + scratch.system(log) + "\ncommand " + command +
         "\nrun-until Palpera/LogReplayFinished 10000\nprint document\ncancel\n";
}
