#include "script_parser.h"

#include "script_line.h"
#include "shown_word.h"

namespace {

std::string usageOf(const ScriptAction& action) {
  return *action.words ? std::string(action.name) + " " + action.words : std::string(action.name);
}

// The line's action and words, or nothing for a line without any. Throws ScriptError.
std::optional<ScriptLine> parseLine(const std::string& text, size_t number) {
  ScriptWords words = splitScriptLine(text);
  if (words.empty()) return std::nullopt;
  const ScriptAction* action = findScriptAction(words.front());
  if (!action) throw ScriptError("unknown action " + shownWord(words.front()));
  words.erase(words.begin());
  if (words.size() < action->fewestWords) throw ScriptError("missing argument: " + usageOf(*action));
  if (words.size() > action->mostWords) throw ScriptError("too many arguments: " + usageOf(*action));
  return ScriptLine{number, action, std::move(words)};
}

}  // namespace

ParsedScript parseScript(std::istream& in) {
  ParsedScript script;
  size_t number = 0;
  for (std::string text; std::getline(in, text);) {
    ++number;
    try {
      if (std::optional<ScriptLine> line = parseLine(text, number)) script.lines.push_back(std::move(*line));
    } catch (const ScriptError& error) {
      script.lines.clear();
      script.fault = ScriptFault{number, error.what()};
      return script;
    }
  }
  return script;
}
