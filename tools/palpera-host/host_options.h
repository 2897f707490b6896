#pragma once

// The command line of palpera-host: the module to load, the file of the user's settings, the time the CAD
// kernel may take over a file, then the actions to run, in the order given.

#include <chrono>
#include <string>
#include <vector>

#include "host/cad/brep_model.h"

#include "host_session.h"

struct HostOptions {
  std::string modulePath = PALPERA_DEFAULT_MODULE;
  // The file of the user's settings (--store); empty: the settings last as long as the host.
  std::string storePath;
  // How long the CAD kernel may read a STEP file that cad-load loads (--cad-time-limit).
  std::chrono::milliseconds cadTimeLimit = kCadReadingTimeLimit;
  std::vector<HostAction> actions;
};

extern const char* const kUsage;

// False for a command line that cannot run: an unknown option or one without its argument is said on one
// line of standard error; a command line without an action prints the usage (kUsage, then the script
// actions).
bool parseOptions(int argc, char** argv, HostOptions& options);
