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
  if (std::string damage = host.devices().replayer().damage(); !damage.empty()) return replay + damage;
  const size_t errors = host.core().errors().reports().size() - *errorsBeforeReplay_;
  if (errors == 0) return {};
  return replay + std::to_string(errors) + (errors == 1 ? " error was" : " errors were") + " shown";
}
