#include "script_line.h"

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// Reads the quoted word that starts at line[at] (the opening quote); answers the position after its closing
// quote.
size_t readQuoted(std::string_view line, size_t at, std::string& word) {
  for (size_t i = at + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') return i + 1;
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) c = line[++i];
    word += c;
  }
  throw ScriptError("a quote is left open");
}

size_t readPlain(std::string_view line, size_t at, std::string& word) {
  size_t end = at;
  while (end < line.size() && !isBlank(line[end])) ++end;
  word.assign(line.substr(at, end - at));
  return end;
}

}  // namespace

ScriptWords splitScriptLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  // A word is handed on as a C string: whatever followed a NUL would be cut off without a word.
  if (line.find('\0') != std::string_view::npos) throw ScriptError("the line holds a NUL byte");
  ScriptWords words;
  size_t at = 0;
  while (true) {
    while (at < line.size() && isBlank(line[at])) ++at;
    if (at == line.size() || line[at] == '#') return words;
    std::string word;
    at = line[at] == '"' ? readQuoted(line, at, word) : readPlain(line, at, word);
    if (at < line.size() && !isBlank(line[at])) throw ScriptError("a quoted word must end at a blank");
    words.push_back(std::move(word));
  }
}
