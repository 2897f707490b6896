#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "platform/file.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "shown_word.h"

namespace {

constexpr const char* kReplaceWord = "replace";

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code unknown;
  return std::filesystem::equivalent(a, b, unknown);
}

// Why recording to path would lose what the user has, or nothing. The log being replayed is never written
// over: its records are still being read.
std::optional<std::string> whyNotRecordTo(HostSession& session, const std::string& path, bool replace) {
  HostGuiLogger& logger = session.host.devices().logger();
  if (std::string recorded = logger.recordingPath(); !recorded.empty()) {
    return "the host log " + shownPath(recorded) + " is being recorded: stop-recording first";
  }
  if (platform::fileKind(platform::fromUtf8(path)) == platform::FileKind::kMissing) return std::nullopt;
  if (!session.replayedLog().empty() && sameFile(path, session.replayedLog())) {
    return "the host log " + shownPath(path) + " is being replayed";
  }
  if (!replace)
    return "the host log " + shownPath(path) + " exists: say record-log FILE replace to write over it";
  return std::nullopt;
}

}  // namespace

void recordLog(HostSession& session, const ScriptWords& words) {
  const bool replace = words.size() == 2;
  if (replace && words[1] != kReplaceWord) {
    throw ScriptError(shownWord(words[1]) + " is no word of record-log (only replace)");
  }
  if (std::optional<std::string> why = whyNotRecordTo(session, words[0], replace)) throw ScriptError(*why);
  if (!session.host.devices().logger().startRecording(words[0])) {
    throw ScriptError("cannot write the host log " + shownPath(words[0]));
  }
}
