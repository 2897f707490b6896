#include <cstdint>
#include <optional>
#include <string_view>

#include "host_api/gui_receiver.h"
#include "running_command.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

namespace {

struct NamedEvent {
  std::string_view name;
  uint32_t id;
};

constexpr NamedEvent kNamedEvents[] = {{"select-all", IHostEvent::kSelectAll},
                                       {"clear-all", IHostEvent::kClearSelection},
                                       {"dialog-closing", IHostEvent::kDialogClosing},
                                       {"undo", IHostEvent::kUndo},
                                       {"redo", IHostEvent::kRedo},
                                       {"delete", IHostEvent::kDelete}};

std::optional<uint32_t> eventId(const std::string& word) {
  for (const NamedEvent& named : kNamedEvents)
    if (word == named.name) return named.id;
  std::optional<int32_t> number = readInt32(word);
  if (!number || *number < 0) return std::nullopt;
  return static_cast<uint32_t>(*number);
}

}  // namespace

void sendCommandEvent(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  std::optional<uint32_t> id = eventId(words[0]);
  if (!id) throw ScriptError(shownWord(words[0]) + " is no command event (a name or a number)");
  session.host.gui().dialog().sendHostEvent(*id);
}
