#include "platform/utf8.h"
#include "running_command.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

// Rows and columns count from 1, row 1 being the table's header.
void editTableCell(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  HostGuiDialog& dialog = session.host.gui().dialog();
  int32_t id = controlId(session, words[0]);
  requireEnabled(session, words[0], id);
  std::optional<DialogControl> control = dialog.control(id);
  if (control->kind != "table" || !control->table)
    throw ScriptError("the control " + shownWord(words[0]) + " shows no table");
  std::optional<int32_t> row = readInt32(words[1]);
  std::optional<int32_t> column = readInt32(words[2]);
  if (!row || !column) throw ScriptError("a cell is a row and a column, each a whole number");
  if (!dialog.editCell(id, *row, *column, platform::fromUtf8(words[3]))) {
    throw ScriptError("the cell " + words[1] + " " + words[2] + " of " + shownWord(words[0]) +
                      " cannot be edited");
  }
}
