#pragma once

// Reads a whole host script into its lines before any of them runs, so that a script with a wrong line does
// nothing at all. A line is a known action and the number of words it takes (script_line.h splits the
// words); blank and comment lines are left out. Needs no host: only the action table is consulted.

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "script_action.h"

struct ScriptLine {
  size_t number;  // from 1
  const ScriptAction* action;
  ScriptWords words;  // after the action's name
};

struct ScriptFault {
  size_t line;
  std::string reason;
};

struct ParsedScript {
  std::vector<ScriptLine> lines;
  std::optional<ScriptFault> fault;  // the first line that cannot be read; lines is empty then
};

ParsedScript parseScript(std::istream& in);
