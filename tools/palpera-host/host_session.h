#pragma once

// What the command-line host's actions work on: the stand-in host, and the module loaded into it, attached
// and started. An action prints to standard output and answers the process's exit status (0: go on).

#include <functional>

#include "host/module_library.h"
#include "host/standin_host.h"

struct HostSession {
  StandinHost& host;
  ModuleLibrary& module;
};

using HostAction = std::function<int(HostSession&)>;
