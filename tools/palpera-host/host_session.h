#pragma once

// What the command-line host's actions work on: the stand-in host, the module loaded into it and attached,
// and the command the host runs. Start-up (the module's initialisers, then its start-up tasks) runs once,
// when an action first needs it, so that a script can prepare the host before the module starts. An action
// prints to standard output and answers the process's exit status (0: go on). Main thread only.

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "framework/object/iptr.h"
#include "host/cad/brep_model.h"
#include "host/core/module_library.h"
#include "host/gui/command_runner.h"
#include "host/standin_host.h"
#include "host_api/gui_tile.h"

class HostSession {
 public:
  HostSession(StandinHost& host, ModuleLibrary& module);
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // Starts the module unless it has started; answers whether this call started it.
  bool start();
  bool started() const { return started_; }

  StandinHost& host;
  ModuleLibrary& module;
  // A command still running when the session ends is cancelled, as the host does when it closes.
  CommandRunner commands;
  // The module's options page while a script has it open.
  IPtr<IZelTile> optionsPage;
  // How long the CAD kernel may read a STEP file that cad-load loads.
  std::chrono::milliseconds cadTimeLimit = kCadReadingTimeLimit;

  // The host begins replaying the log at path: what goes wrong from here on belongs to the replay.
  void noteReplayStart(const std::string& path);
  // The host log the latest replay began with; empty when none began.
  const std::string& replayedLog() const { return replayedLog_; }
  // Why the replay failed, judged on the whole log, which it reads to its end: the log's first damaged line,
  // an acquisition the module could not play, recorded acquisitions it never played, or
  // errors shown to the user since the replay began (which the error service has printed already) other than
  // those the log says its recording showed; empty when it did not fail, or none began. Ends the replay.
  std::string replayFailure();

 private:
  // Why the replay failed by the errors shown, beginning with replay; empty when they are the recorded ones.
  std::string errorsFailure(const std::string& replay);

  bool started_ = false;
  std::string replayedLog_;
  std::optional<size_t> errorsBeforeReplay_;  // set once a replay began
};

using HostAction = std::function<int(HostSession&)>;
