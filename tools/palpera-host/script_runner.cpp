#include "script_runner.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "basic_types/zel_string.h"
#include "platform/text_encoding.h"
#include "platform/utf8.h"
#include "regular_file.h"
#include "script_action.h"
#include "script_parser.h"
#include "shown_word.h"

namespace {

// Far above any script a person writes or a tool generates.
constexpr size_t kMostScriptBytes = size_t{16} << 20;

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

// Standard input may be anything the shell gives: a directory reads as an empty script.
std::optional<std::string> whyNoScriptInput() {
  struct stat status {};
  if (fstat(STDIN_FILENO, &status) != 0) return std::strerror(errno);
  if (S_ISDIR(status.st_mode)) return "standard input is a directory";
  return std::nullopt;
}

// The whole script, read before any line runs. An input longer than any script a person writes (an endless
// stream, say) is refused rather than read without end; a byte-order mark is dropped, as editors write one.
std::optional<std::string> readScriptText(std::istream& in, std::string& text) {
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const auto count = static_cast<size_t>(in.gcount());
    if (text.size() + count > kMostScriptBytes) {
      return "it is longer than " + std::to_string(kMostScriptBytes >> 20) + " MiB";
    }
    text.append(buffer, count);
  }
  if (in.bad() || (&in == &std::cin && std::ferror(stdin))) return "reading it failed";
  if (const char* refusal = platform::encodingRefusal(text)) return refusal;
  text.erase(0, text.size() - platform::withoutByteOrderMark(text).size());
  return std::nullopt;
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
  const bool fromInput = path == "-";
  const std::string label = fromInput ? "<stdin>" : path;
  std::optional<std::string> why = fromInput ? whyNoScriptInput() : whyNoRegularFile(path);
  std::ifstream file;
  if (!why && !fromInput) {
    file.open(path, std::ios::binary);
    if (!file) why = std::strerror(errno);
  }
  std::string text;
  if (!why) why = readScriptText(fromInput ? std::cin : file, text);
  if (why) {
    std::fprintf(stderr, "palpera-host: cannot read the script %s: %s\n", shownPath(label).c_str(),
                 why->c_str());
    return 1;
  }
  std::istringstream lines(text);
  return runScript(session, lines, label);
}
