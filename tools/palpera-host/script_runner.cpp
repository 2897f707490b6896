#include "script_runner.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <vector>

#include "basic_types/zel_string.h"
#include "platform/utf8.h"
#include "script_action.h"
#include "script_line.h"

namespace {

struct ScriptLine {
  size_t number;
  const ScriptAction* action;
  ScriptWords words;  // after the action's name
};

int reportFailure(const std::string& label, size_t line, const std::string& reason) {
  std::fflush(stdout);  // what the lines before printed comes first
  std::fprintf(stderr, "%s:%zu: %s\n", label.c_str(), line, reason.c_str());
  return 1;
}

std::string usageOf(const ScriptAction& action) {
  return *action.words ? std::string(action.name) + " " + action.words : std::string(action.name);
}

// The line's action and words, or nothing for a line without any. Throws ScriptError.
std::optional<ScriptLine> parseLine(const std::string& text, size_t number) {
  ScriptWords words = splitScriptLine(text);
  if (words.empty()) return std::nullopt;
  const ScriptAction* action = findScriptAction(words.front());
  if (!action) throw ScriptError("unknown action '" + words.front() + "'");
  words.erase(words.begin());
  if (words.size() < action->fewestWords) throw ScriptError("missing argument: " + usageOf(*action));
  if (words.size() > action->mostWords) throw ScriptError("too many arguments: " + usageOf(*action));
  return ScriptLine{number, action, std::move(words)};
}

// Runs one line; answers why it failed, or nothing. Whatever the action or the module throws stops the
// script, never the host.
std::optional<std::string> runLine(HostSession& session, const ScriptLine& line) {
  try {
    line.action->run(session, line.words);
    return std::nullopt;
  } catch (const ScriptError& error) {
    return error.what();
  } catch (const ZelString& error) {
    return "the module failed: " + platform::toUtf8(error.c_str());
  } catch (const std::exception& error) {
    return std::string("the action failed: ") + error.what();
  } catch (...) {
    return "the action failed with an exception";
  }
}

}  // namespace

int runScript(HostSession& session, std::istream& in, const std::string& label) {
  std::vector<ScriptLine> lines;
  size_t number = 0;
  for (std::string text; std::getline(in, text);) {
    ++number;
    try {
      if (std::optional<ScriptLine> line = parseLine(text, number)) lines.push_back(std::move(*line));
    } catch (const ScriptError& error) {
      return reportFailure(label, number, error.what());
    }
  }
  bool startsItself = std::any_of(lines.begin(), lines.end(), [](const ScriptLine& line) {
    return std::string_view(line.action->name) == "start";
  });
  if (!startsItself) session.start();
  int status = 0;
  for (const ScriptLine& line : lines) {
    if (std::optional<std::string> reason = runLine(session, line)) {
      status = reportFailure(label, line.number, *reason);
      break;
    }
  }
  std::fflush(stdout);
  // Said also after a line failed: a failed replay is often why the line failed.
  if (std::string failure = session.replayFailure(); !failure.empty()) {
    std::fprintf(stderr, "palpera-host: %s\n", failure.c_str());
    status = 1;
  }
  return status;
}

int runScriptFile(HostSession& session, const std::string& path) {
  if (path == "-") return runScript(session, std::cin, "<stdin>");
  std::ifstream file(path);
  if (!file) {
    std::fprintf(stderr, "palpera-host: cannot read the script '%s': %s\n", path.c_str(),
                 std::strerror(errno));
    return 1;
  }
  return runScript(session, file, path);
}
