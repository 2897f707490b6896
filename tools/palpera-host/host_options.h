#pragma once

// The command line of palpera-host: the module to load, the file of the user's settings, then the actions to
// run, in the order given.

#include <string>
#include <vector>

#include "host_session.h"

struct HostOptions {
  std::string modulePath = PALPERA_DEFAULT_MODULE;
  // The file of the user's settings (--store); empty: the settings last as long as the host.
  std::string storePath;
  std::vector<HostAction> actions;
};

extern const char* const kUsage;

// False for a command line that cannot run: an unknown option or one without its argument is said on one
// line of standard error; a command line without an action prints the usage (kUsage, then the script
// actions).
bool parseOptions(int argc, char** argv, HostOptions& options);
