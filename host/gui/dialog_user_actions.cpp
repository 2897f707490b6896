#include "host/gui/dialog_user_actions.h"

#include <cmath>

#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "host/gui/dialog_list.h"
#include "host/gui/dialog_number_field.h"
#include "host/gui/host_event.h"

IGuiReceiver* DialogUserActions::receiverOf(const DialogControl& control) const {
  return control.receiver ? control.receiver : receiver_.load();
}

bool DialogUserActions::pressButton(int32_t id) {
  const auto turnsOver = [](const DialogControl& control) {
    return control.kind == "imagetoggle" || control.kind == "check";
  };
  std::optional<DialogControl> pressed = controls_.takeUserChange(id, [&](DialogControl& button) {
    if (turnsOver(button)) button.value = button.value == 0 ? 1 : 0;
    return true;
  });
  if (!pressed) return false;
  const int32_t value = turnsOver(*pressed) ? static_cast<int32_t>(pressed->value) : 1;
  if (IGuiReceiver* receiver = receiverOf(*pressed)) receiver->onGuiEvent(id, value);
  return true;
}

bool DialogUserActions::enterValue(int32_t id, double typed) {
  const double factor = lengthFactor(units_);
  double value = typed;
  std::optional<DialogControl> entered = controls_.takeUserChange(id, [&](DialogControl& control) {
    if (control.kind == "length") value = typed / factor;
    if (isNumberField(control) && !inRange(control, value)) return false;
    control.value = value;
    return true;
  });
  if (!entered) return false;
  IGuiReceiver* receiver = receiverOf(*entered);
  if (!receiver) return true;
  if (isNumberField(*entered)) {
    receiver->onGuiValue(id, value);
  } else {
    receiver->onGuiValueChanged(id, static_cast<int32_t>(std::lround(value)));
  }
  return true;
}

bool DialogUserActions::chooseEntry(int32_t id, int32_t index) {
  bool changed = false;
  std::optional<DialogControl> chosen = controls_.takeUserChange(id, [index, &changed](DialogControl& list) {
    if (!isList(list) || index < 0 || static_cast<size_t>(index) >= list.entries.size()) return false;
    if (!list.entries[static_cast<size_t>(index)].enabled) return false;
    changed = list.selection != index;
    return selectListEntry(list, index);
  });
  if (!chosen) return false;
  IGuiReceiver* receiver = receiverOf(*chosen);
  if (changed && receiver) receiver->onGuiValueChanged(id, index);
  return true;
}

bool DialogUserActions::typeText(int32_t id, const std::u16string& text) {
  std::optional<DialogControl> typed = controls_.takeUserChange(id, [&text](DialogControl& field) {
    if (field.kind != "text") return false;
    field.text = text;
    return true;
  });
  if (!typed) return false;
  ZelString value;
  value.setBuffer(text.c_str(), -1);
  if (IGuiReceiver* receiver = receiverOf(*typed)) receiver->onGuiValueByReference(id, &value);
  return true;
}

bool DialogUserActions::editCell(int32_t id, int32_t row, int32_t column, const std::u16string& text) {
  std::optional<DialogControl> control = controls_.control(id);
  if (!control || control->kind != "table" || !control->enabled) return false;
  IZelTable* table = control->table.get();
  IZelTableModifier* modifier = control->tableModifier.get();
  if (!table || !modifier || !modifier->isCellEditable(row, column)) return false;
  ZelString typed;
  typed.setBuffer(text.c_str(), -1);
  if (!table->setText(row, column, typed)) return false;
  modifier->cellChanged(row, column, typed);
  return true;
}

bool DialogUserActions::chooseRadio(int32_t id) {
  std::optional<DialogControl> chosen = controls_.takeRadioChoice(id);
  if (!chosen) return false;
  if (IGuiReceiver* receiver = receiverOf(*chosen)) receiver->onGuiEvent(id, 1);
  return true;
}

void DialogUserActions::sendHostEvent(uint32_t eventId) {
  IGuiReceiver* receiver = receiver_;
  if (!receiver) return;
  IPtr<HostEvent> event(new HostEvent(eventId));
  receiver->onEvent(event.get());
}
