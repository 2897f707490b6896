#include "host_options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "info_action.h"
#include "script_action.h"
#include "script_runner.h"
#include "settings_action.h"
#include "shown_word.h"

const char* const kUsage =
    "usage: palpera-host [--module PATH] [--store FILE] [--cad-time-limit SECONDS] ACTION...\n"
    "  --module PATH  the module to load (default: the one built beside this program)\n"
    "  --store FILE   keep the user's settings in FILE: read before the module starts (a missing file is an\n"
    "                 empty one; a line that cannot be read is skipped with a warning), written back when "
    "the\n"
    "                 host ends, through a new file renamed over the old one\n"
    "  --cad-time-limit SECONDS\n"
    "                 how long the CAD kernel may read a STEP file before cad-load gives up on it and\n"
    "                 ends the kernel's process (default: 60)\n"
    "The module is loaded and attached to the stand-in host; then the actions run in the order given. The\n"
    "module starts (its initialisers, then its start-up tasks) before the first action that needs it:\n"
    "  --info         print the module's name, build stamp, interface version and registered classes\n"
    "  --settings     print every item of the data-store group \"Palpera\" (the group first, sub-groups and\n"
    "                 their items included) in registration order, one line each, six fields separated by\n"
    "                 tabs: key, kind, default, minimum, maximum, flags.\n"
    "                 kind: group, event, int, double, string, blob or object. Integers are decimal,\n"
    "                 doubles the shortest text that reads back to the same double. A string's default\n"
    "                 is UTF-8 with \\\\ \\t \\r \\n for backslash, tab, CR and LF; its maximum is its\n"
    "                 maximum length in UTF-16 code units. A blob's default is hexadecimal (empty when it\n"
    "                 has none); its maximum is its size in bytes. A field a kind lacks is empty: the\n"
    "                 minimum of strings and blobs; default, minimum and maximum of objects; every field\n"
    "                 after the kind of groups and events.\n"
    "  --script FILE  run the host actions of FILE (\"-\": standard input), one a line; blanks separate "
    "words,\n"
    "                 \"...\" quotes a word (\\\" and \\\\ inside), # begins a comment. Every line is "
    "checked\n"
    "                 before any runs; the first line that fails stops the run with \"FILE:LINE: reason\"\n"
    "                 on standard error and exit status 1. The actions:\n";

namespace {

struct ActionOption {
  const char* name;
  HostAction action;
};

const ActionOption* findAction(std::string_view name) {
  static const ActionOption kActions[] = {{"--info", printInfo}, {"--settings", printSettings}};
  for (const ActionOption& option : kActions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

void printUsage() {
  std::fprintf(stderr, "%s", kUsage);
  for (const ScriptAction& action : scriptActions()) {
    std::fprintf(stderr, "    %s%s%s\n        %s\n", action.name, *action.words ? " " : "", action.words,
                 action.summary);
  }
}

// The limits a person can mean: from a millisecond, which the clock still keeps, up to a year.
constexpr double kShortestLimit = 0.001;
constexpr double kLongestLimit = 365 * 24 * 3600.0;

// The seconds of a time limit, in milliseconds; none for a word that is no such number.
std::optional<std::chrono::milliseconds> timeLimitOf(const std::string& word) {
  double seconds = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), seconds);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  if (!(seconds >= kShortestLimit && seconds <= kLongestLimit)) return std::nullopt;
  return std::chrono::milliseconds(std::llround(seconds * 1000));
}

// The fault alone, so that it is not lost above the usage.
bool refuse(const std::string& fault) {
  std::fprintf(stderr, "palpera-host: %s\n(palpera-host without arguments prints the usage)\n",
               fault.c_str());
  return false;
}

}  // namespace

bool parseOptions(int argc, char** argv, HostOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (const ActionOption* option = findAction(word)) {
      options.actions.push_back(option->action);
      continue;
    }
    const bool isModule = word == "--module";
    const bool isStore = word == "--store";
    const bool isTimeLimit = word == "--cad-time-limit";
    if (!isModule && !isStore && !isTimeLimit && word != "--script")
      return refuse("unknown option " + shownWord(word));
    if (i + 1 == argc) {
      return refuse("missing argument: " + std::string(word) +
                    (isModule      ? " PATH"
                     : isTimeLimit ? " SECONDS"
                                   : " FILE"));
    }
    std::string argument = argv[++i];
    if (isTimeLimit) {
      const std::optional<std::chrono::milliseconds> limit = timeLimitOf(argument);
      if (!limit)
        return refuse("--cad-time-limit takes seconds from 0.001 to a year, not " + shownWord(argument));
      options.cadTimeLimit = *limit;
    } else if (isModule) {
      options.modulePath = argument;
    } else if (isStore) {
      options.storePath = argument;
    } else {
      options.actions.push_back(
          [argument](HostSession& session) { return runScriptFile(session, argument); });
    }
  }
  if (options.actions.empty()) {
    printUsage();
    return false;
  }
  return true;
}
