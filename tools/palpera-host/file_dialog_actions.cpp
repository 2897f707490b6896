#include "platform/utf8.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

// Queued: the file dialog the module shows next takes it. A dialog with no answer queued is cancelled. The
// path is handed to the module as written.
void answerFileDialog(HostSession& session, const ScriptWords& words) {
  ScriptedFileDialogs& dialogs = session.host.files().dialogs();
  if (words[0] == "cancel") {
    if (words.size() > 1) throw ScriptError("a cancelled file dialog chooses no filter");
    dialogs.queueAnswer(std::nullopt);
    return;
  }
  std::optional<int32_t> filterIndex = words.size() > 1 ? readInt32(words[1]) : std::optional<int32_t>(0);
  if (!filterIndex || *filterIndex < 0) throw ScriptError(shownWord(words[1]) + " is no filter index");
  dialogs.queueAnswer(ScriptedFileDialogs::Answer{platform::fromUtf8(words[0]), *filterIndex});
}

void refuseSavePath(HostSession& session, const ScriptWords&) {
  session.host.files().fileTypes().queueRefusal();
}
