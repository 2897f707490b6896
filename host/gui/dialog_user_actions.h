#pragma once

// What a user (or the host) does to the stand-in host's dialog: press a button, enter a value, send a host
// event. Each raises the receiver's callback, outside the control model's lock and on the calling thread.
// The receiver is held without a reference; changing it is safe on any thread.

#include <atomic>
#include <cstdint>

#include "host/api/gui_receiver.h"
#include "host/gui/dialog_controls.h"

class DialogUserActions {
 public:
  explicit DialogUserActions(DialogControls& controls) : controls_(controls) {}
  DialogUserActions(const DialogUserActions&) = delete;
  DialogUserActions& operator=(const DialogUserActions&) = delete;

  void setReceiver(IGuiReceiver* receiver) { receiver_ = receiver; }

  // Raises onGuiEvent(id, 1); false for an unknown or disabled control.
  bool pressButton(int32_t id);
  // Stores the value the user entered, then raises onGuiValue(id, value) for a "number" control and
  // onGuiValueChanged(id, value rounded) for any other; false for an unknown or disabled control.
  bool enterValue(int32_t id, double value);
  // Raises onEvent with an IHostEvent of that id.
  void sendHostEvent(uint32_t eventId);

 private:
  DialogControls& controls_;
  std::atomic<IGuiReceiver*> receiver_ = nullptr;
};
