#include "host_api/gui_simple_dialog.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

namespace {

int32_t answerOf(const std::string& word) {
  if (word == "yes" || word == "retry") return IGuiSimpleDlg::kAnswerYes;
  if (word == "no" || word == "cancel") return IGuiSimpleDlg::kAnswerNo;
  std::optional<int32_t> number = readInt32(word);
  if (!number) throw ScriptError(shownWord(word) + " is no answer (yes, retry, no, cancel or a number)");
  return *number;
}

}  // namespace

// Queued: the dialog the module shows next takes it. A dialog with no answer queued is answered "no".
void answerDialog(HostSession& session, const ScriptWords& words) {
  session.host.gui().simpleDialog().queueAnswer(answerOf(words[0]));
}
