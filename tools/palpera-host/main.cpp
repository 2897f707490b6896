// palpera-host: the command-line host. It loads the module as a host does (dlopen, EntryPoint), attaches it
// to the stand-in host, then runs the actions the command line asks for, in order, stopping at the first that
// fails; the module's initialisers and start-up tasks run when an action first needs them.

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/core/module_library.h"
#include "host/core/user_settings_store.h"
#include "host/standin_host.h"
#include "host_options.h"
#include "platform/process.h"
#include "platform/unfinished_files.h"

namespace {

int runActions(const std::vector<HostAction>& actions, HostSession& session) {
  for (const HostAction& action : actions) {
    if (int status = action(session); status != 0) return status;
  }
  return 0;
}

void warn(const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings)
    std::fprintf(stderr, "palpera-host: warning: %s\n", warning.c_str());
}

// The user's settings from the store file, before anything registers its items. False when the file exists
// but cannot be read: the host would write over it at its end.
bool loadStore(UserSettingsStore& file, HostDataStore& store) {
  // A value an item refuses is told when the item is registered, which may be long after the file is read.
  store.setRefusalReceiver([](const std::string& warning) { warn({warning}); });
  std::vector<std::string> warnings;
  std::string error;
  const bool loaded = file.load(store, warnings, error);
  warn(warnings);
  if (!loaded) std::fprintf(stderr, "palpera-host: cannot read the store: %s\n", error.c_str());
  return loaded;
}

// False, having said why, when a change of the run is not in the file: a conflict fails the run as a write
// that failed does.
bool saveStore(UserSettingsStore& file, HostDataStore& store) {
  std::vector<std::string> conflicts;
  std::string error;
  const bool saved = file.save(store, conflicts, error);
  for (const std::string& conflict : conflicts)
    std::fprintf(stderr, "palpera-host: store conflict: %s\n", conflict.c_str());
  if (!saved) std::fprintf(stderr, "palpera-host: cannot write the store: %s\n", error.c_str());
  return saved && conflicts.empty();
}

// Puts a log still recording in place, once the device workers have stopped: an event file may fail as its
// acquisition ends, also after its log's recording stopped. False, having said why, when a log of the session
// does not replay what was measured.
bool endRecording(HostGuiLogger& logger) {
  std::string why;
  if (!logger.isRecording() || logger.stopRecording(&why)) why = logger.lateFailure();
  if (why.empty()) return true;
  std::fprintf(stderr, "palpera-host: %s\n", why.c_str());
  return false;
}

int run(int argc, char** argv) {
  HostOptions options;
  if (!parseOptions(argc, argv, options)) return 2;
  StandinHost host;  // outlives the module, which counts its objects through the host's root
  // Errors and dialogs are how the module tells the user what went wrong: here that is standard error.
  host.core().errors().setEcho(true);
  host.gui().simpleDialog().setEcho(true);
  const bool keepsStore = !options.storePath.empty();
  UserSettingsStore storeFile(options.storePath);
  if (keepsStore && !loadStore(storeFile, host.core().dataStore())) return 1;
  std::string error;
  std::unique_ptr<ModuleLibrary> module = ModuleLibrary::load(options.modulePath, error);
  if (!module) {
    std::fprintf(stderr, "palpera-host: cannot load the module: %s\n", error.c_str());
    return 1;
  }
  host.attach(module->component());
  int status = 0;
  {
    HostSession session(host, *module);
    session.cadTimeLimit = options.cadTimeLimit;
    status = runActions(options.actions, session);
  }  // a command still running is cancelled here, while the host is whole
  // As a host does at its end: device workers stop before the process goes, and a log still recording is
  // put in place.
  host.shutdown();
  if (!endRecording(host.devices().logger())) status = status == 0 ? 1 : status;
  if (keepsStore && !saveStore(storeFile, host.core().dataStore())) status = status == 0 ? 1 : status;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A file grown past the process's size limit fails its write, as on a full disk, rather than ending the
  // host with the file half-written; a host ended by a signal it can catch removes what it had not finished.
  std::signal(SIGXFSZ, SIG_IGN);
  platform::removeUnfinishedFilesOnSignals();
  // The host ends the process without running static destructors: module-wide objects may still hold host
  // services, and device threads may still be winding down.
  platform::exitProcess(run(argc, argv));
}
