#include "running_command.h"

#include <optional>

#include "platform/utf8.h"
#include "script_action.h"
#include "script_numbers.h"
#include "shown_word.h"

void requireRunningCommand(HostSession& session) {
  if (!session.commands.running()) throw ScriptError("no command is running");
}

int32_t controlId(HostSession& session, const std::string& word) {
  HostGuiDialog& dialog = session.host.gui().dialog();
  std::optional<int32_t> id = readInt32(word);
  if (!id) id = dialog.idOf(platform::fromUtf8(word));
  if (!id || !dialog.control(*id)) throw ScriptError("the dialog has no control " + shownWord(word));
  return *id;
}

void requireEnabled(HostSession& session, const std::string& word, int32_t id) {
  if (!session.host.gui().dialog().isControlEnabled(id)) {
    throw ScriptError("the control " + shownWord(word) + " is disabled");
  }
}
