#pragma once

// The actions a host script is made of. A script line is an action's name and its words; each action says
// how many words it takes, and throws ScriptError for input it cannot carry out (an unknown key, a number
// that is none, a command that refuses), which stops the script with that reason on that line.

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host_session.h"

using ScriptWords = std::vector<std::string>;

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ScriptAction {
  const char* name;
  const char* words;    // the words after the name, as the usage shows them ("KEY VALUE")
  const char* summary;  // one line for the usage
  size_t fewestWords;
  size_t mostWords;
  void (*run)(HostSession& session, const ScriptWords& words);
};

// Every action, in the order the usage lists them.
std::span<const ScriptAction> scriptActions();
// The action of that name, or null.
const ScriptAction* findScriptAction(std::string_view name);
