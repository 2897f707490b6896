#include "host/gui/dialog_list.h"
#include "running_command.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

// Entries are numbered from 0, as the dialog numbers them.
void chooseListEntry(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  HostGuiDialog& dialog = session.host.gui().dialog();
  int32_t id = controlId(session, words[0]);
  requireEnabled(session, words[0], id);
  std::optional<DialogControl> list = dialog.control(id);
  if (!isList(*list)) throw ScriptError("the control " + shownWord(words[0]) + " is no list");
  std::optional<int32_t> index = readInt32(words[1]);
  if (!index || *index < 0 || static_cast<size_t>(*index) >= list->entries.size()) {
    throw ScriptError(shownWord(words[1]) + " is no entry of " + shownWord(words[0]) + " (0 to " +
                      std::to_string(static_cast<int64_t>(list->entries.size()) - 1) + ")");
  }
  if (!dialog.chooseEntry(id, *index)) throw ScriptError("the entry " + words[1] + " is disabled");
}
