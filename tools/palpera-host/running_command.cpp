#include "running_command.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/utf8.h"
#include "script_action.h"
#include "script_numbers.h"

void requireRunningCommand(HostSession& session) {
  if (!session.commands.running()) throw ScriptError("no command is running");
}

int32_t controlId(HostSession& session, const std::string& word) {
  HostGuiDialog& dialog = session.host.dialog();
  bool digits = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
  std::optional<int32_t> id;
  if (digits) {
    int64_t number = wholeNumberWord(word);
    if (number <= INT32_MAX && dialog.control(static_cast<int32_t>(number)))
      id = static_cast<int32_t>(number);
  } else {
    id = dialog.idOf(platform::fromUtf8(word));
  }
  if (!id) throw ScriptError("the dialog has no control '" + word + "'");
  return *id;
}
