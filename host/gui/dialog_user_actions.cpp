#include "host/gui/dialog_user_actions.h"

#include <cmath>

#include "framework/object/iptr.h"
#include "host/gui/host_event.h"

bool DialogUserActions::pressButton(int32_t id) {
  if (!controls_.acceptUserChange(id, std::nullopt)) return false;
  if (IGuiReceiver* receiver = receiver_) receiver->onGuiEvent(id, 1);
  return true;
}

bool DialogUserActions::enterValue(int32_t id, double value) {
  std::optional<std::string> kind = controls_.acceptUserChange(id, value);
  if (!kind) return false;
  IGuiReceiver* receiver = receiver_;
  if (!receiver) return true;
  if (*kind == "number") {
    receiver->onGuiValue(id, value);
  } else {
    receiver->onGuiValueChanged(id, static_cast<int32_t>(std::lround(value)));
  }
  return true;
}

void DialogUserActions::sendHostEvent(uint32_t eventId) {
  IGuiReceiver* receiver = receiver_;
  if (!receiver) return;
  IPtr<HostEvent> event(new HostEvent(eventId));
  receiver->onEvent(event.get());
}
