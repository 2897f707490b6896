#pragma once

// The command line of palpera-host: the module to load, then the actions to run, in the order given.

#include <string>
#include <vector>

#include "host_session.h"

struct HostOptions {
  std::string modulePath = PALPERA_DEFAULT_MODULE;
  std::vector<HostAction> actions;
};

extern const char* const kUsage;

// False, with a message and the usage (kUsage, then the script actions) on standard error, for an unknown
// option or a command line without an action.
bool parseOptions(int argc, char** argv, HostOptions& options);
