#include "host_session.h"

#include "host/module_startup.h"

HostSession::HostSession(StandinHost& host, ModuleLibrary& module)
    : host(host), module(module), commands(&host.commandContainer(), &host.dialog()) {}

bool HostSession::start() {
  if (started_) return false;
  started_ = true;
  runModuleStartup(host.root(), module.component());
  return true;
}
