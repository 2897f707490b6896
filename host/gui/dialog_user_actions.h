#pragma once

// What a user (or the host) does to the stand-in host's dialog: press a button, enter a value, choose a list
// entry, type a text, choose a radio button, send a host event. Each raises the callback of the control's
// receiver (the one it was built with, else the dialog's), outside the control model's lock and on the
// calling thread. The receiver is held without a reference; changing it is safe on any thread. Each answers
// false, calling nobody, for an unknown or disabled control or a change the control refuses.

#include <atomic>
#include <cstdint>
#include <string>

#include "host/gui/dialog_controls.h"
#include "host_api/gui_receiver.h"
#include "host_api/unit_service.h"

class DialogUserActions {
 public:
  // Length fields are typed in the current unit of units (in metres without it).
  DialogUserActions(DialogControls& controls, IUnitService* units) : controls_(controls), units_(units) {}
  DialogUserActions(const DialogUserActions&) = delete;
  DialogUserActions& operator=(const DialogUserActions&) = delete;

  void setReceiver(IGuiReceiver* receiver) { receiver_ = receiver; }

  // Raises onGuiEvent(id, 1); a toggle button or a check box turns over, as a click turns it, and reports 1
  // when it is pressed or ticked now, 0 when not.
  bool pressButton(int32_t id);
  // Stores the value the user entered, then raises onGuiValue(id, value) for a number or length field (which
  // refuses a value outside its range) and onGuiValueChanged(id, value rounded) for any other control. A
  // length field takes the value in the user's unit and stores and reports it in metres.
  bool enterValue(int32_t id, double value);
  // Chooses a list's entry (refused for a disabled entry or one outside the list); raises
  // onGuiValueChanged(id, index) when the choice changed.
  bool chooseEntry(int32_t id, int32_t index);
  // Sets a text field's text and raises onGuiValueByReference(id, the text as a ZelString).
  bool typeText(int32_t id, const std::u16string& text);
  // Edits a cell of the table shown in a "table" control, as a user types into it: refused unless the table
  // was placed with a modifier that lets the cell be edited; the table then holds text, and the modifier
  // hears cellChanged. Main thread only, as the table.
  bool editCell(int32_t id, int32_t row, int32_t column, const std::u16string& text);
  // Chooses a radio button in its group and raises onGuiEvent(id, 1).
  bool chooseRadio(int32_t id);
  // Raises the dialog receiver's onEvent with an IHostEvent of that id.
  void sendHostEvent(uint32_t eventId);

 private:
  IGuiReceiver* receiverOf(const DialogControl& control) const;

  DialogControls& controls_;
  IUnitService* const units_;
  std::atomic<IGuiReceiver*> receiver_ = nullptr;
};
