#include "host/core/data_item_text.h"
#include "host/gui/dialog_number_field.h"
#include "running_command.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

void enterValue(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  HostGuiDialog& dialog = session.host.gui().dialog();
  int32_t id = controlId(session, words[0]);
  double value = numberWord(words[1]);
  requireEnabled(session, words[0], id);
  if (std::optional<DialogControl> field = dialog.control(id)) {
    // A length field keeps its range in metres and is typed in the user's unit.
    const double factor = dialog.shownFactor(*field);
    if (!inRange(*field, value / factor)) {
      throw ScriptError(words[1] + " lies outside the range of " + shownWord(words[0]) + " [" +
                        doubleText(field->minimum * factor) + ", " + doubleText(field->maximum * factor) +
                        "]");
    }
  }
  if (!dialog.enterValue(id, value)) throw ScriptError("the control " + shownWord(words[0]) + " refused it");
}
