#pragma once

// The words of one script line. Blanks (spaces and tabs) separate words; a "#" that begins a word begins a
// comment, which runs to the end of the line. A word in double quotes may hold blanks and "#", and writes a
// quote and a backslash as \" and \\ (any other backslash stays as it is); "" is an empty word. A carriage
// return at the end of the line (a script saved with CR LF line ends) is dropped. Throws ScriptError for a
// quote left open and for a NUL byte.

#include <string_view>

#include "script_action.h"

ScriptWords splitScriptLine(std::string_view line);
