// A host script is the user's text: any bytes must read as lines of known actions with the words they take,
// or as one line's fault whose reason is a short line without control bytes; and every word read must come
// back the same when written again in quotes.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "tools/palpera-host/script_line.h"
#include "tools/palpera-host/script_parser.h"

namespace {

// Longest reason: the longest usage, or a message around a word cut short, each of its characters escaped.
constexpr size_t kLongestReason = 512;

void checkReason(const std::string& reason) {
  if (reason.empty() || reason.size() > kLongestReason) __builtin_trap();
  for (unsigned char c : reason) {
    if (c < 0x20 || c == 0x7F) __builtin_trap();
  }
}

std::string quoted(const std::string& word) {
  std::string text = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\') text += '\\';
    text += c;
  }
  return text + "\"";
}

void checkLine(const ScriptLine& line) {
  const ScriptAction& action = *line.action;
  if (line.words.size() < action.fewestWords || line.words.size() > action.mostWords) __builtin_trap();
  std::string written = action.name;
  for (const std::string& word : line.words) written += " " + quoted(word);
  ScriptWords again = splitScriptLine(written);
  again.erase(again.begin());
  if (again != line.words) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  ParsedScript script = parseScript(in);
  if (script.fault) {
    if (!script.lines.empty() || script.fault->line == 0) __builtin_trap();
    checkReason(script.fault->reason);
    return 0;
  }
  size_t previous = 0;
  for (const ScriptLine& line : script.lines) {
    if (!line.action || line.number <= previous) __builtin_trap();
    previous = line.number;
    checkLine(line);
  }
  return 0;
}
