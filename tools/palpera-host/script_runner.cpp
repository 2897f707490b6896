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
#include "regular_file.h"
#include "script_action.h"
#include "script_parser.h"
#include "shown_word.h"

namespace {

int reportFailure(const std::string& label, size_t line, const std::string& reason) {
  std::fflush(stdout);  // what the lines before printed comes first
  std::fprintf(stderr, "%s:%zu: %s\n", label.c_str(), line, reason.c_str());
  return 1;
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
  ParsedScript script = parseScript(in);
  if (script.fault) return reportFailure(label, script.fault->line, script.fault->reason);
  bool startsItself = std::any_of(script.lines.begin(), script.lines.end(), [](const ScriptLine& line) {
    return std::string_view(line.action->name) == "start";
  });
  if (!startsItself) session.start();
  int status = 0;
  for (const ScriptLine& line : script.lines) {
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
  std::optional<std::string> why = whyNoRegularFile(path);
  std::ifstream file;
  if (!why) {
    file.open(path);
    if (!file) why = std::strerror(errno);
  }
  if (why) {
    std::fprintf(stderr, "palpera-host: cannot read the script %s: %s\n", shownWord(path).c_str(),
                 why->c_str());
    return 1;
  }
  return runScript(session, file, path);
}
