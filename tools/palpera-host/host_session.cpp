#include "host_session.h"

#include "host/core/module_startup.h"

HostSession::HostSession(StandinHost& host, ModuleLibrary& module)
    : host(host),
      module(module),
      commands(&host.gui().commandContainer(), &host.gui().dialog(), &host.scene().view()) {}

bool HostSession::start() {
  if (started_) return false;
  started_ = true;
  runModuleStartup(host.root(), module.component());
  return true;
}

void HostSession::noteReplayStart(const std::string& path) {
  replayedLog_ = path;
  errorsBeforeReplay_ = host.core().errors().reports().size();
}

std::string HostSession::replayFailure() {
  if (!errorsBeforeReplay_) return {};
  const std::string replay = "the replay of the host log '" + replayedLog_ + "' failed: ";
  HostLogReplayer& replayer = host.devices().replayer();
  if (std::string damage = replayer.damage(); !damage.empty()) return replay + damage;
  const std::vector<RecordingErrorService::Report> reports = host.core().errors().reports();
  std::vector<std::u16string> shown;
  for (size_t i = *errorsBeforeReplay_; i < reports.size(); ++i) shown.push_back(reports[i].message);
  // The errors the recording showed, shown again, are the replay reproducing it: a refusal told then is told
  // now.
  const std::vector<std::u16string> recorded = replayer.recordedErrors();
  if (shown == recorded) return {};
  const size_t errors = shown.size();
  std::string failure =
      replay + std::to_string(errors) + (errors == 1 ? " error was" : " errors were") + " shown";
  if (recorded.empty()) return failure;
  return failure + ", not the " + std::to_string(recorded.size()) + " the recording showed";
}
