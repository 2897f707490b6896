#pragma once

// What the host calls on a command or a widget when its dialog or view changes. All on the host's GUI
// thread.

#include <cstdint>

#include "host_api/zel_unknown.h"

// A host event handed to onEvent. Ids the module's commands handle: kSelectAll, kClearSelection,
// kDialogClosing, kUndo, kRedo, kDelete.
class IHostEvent : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IHostEvent";
  static constexpr uint32_t kSelectAll = 257;
  static constexpr uint32_t kClearSelection = 259;
  static constexpr uint32_t kDialogClosing = 293;
  static constexpr uint32_t kUndo = 294;
  static constexpr uint32_t kRedo = 295;
  static constexpr uint32_t kDelete = 304;

  virtual uint32_t id() = 0;
};

class IGuiReceiver : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiReceiver";

  // A button press or a similar control event.
  virtual void onGuiEvent(int32_t controlId, int32_t value) = 0;
  // A control's value handed over by reference.
  virtual void onGuiValueByReference(int32_t controlId, void* value) = 0;
  // A numeric field's value.
  virtual void onGuiValue(int32_t controlId, double value) = 0;
  // A control's value changed.
  virtual void onGuiValueChanged(int32_t controlId, int32_t value) = 0;
  // A control's state changed.
  virtual void onGuiStateChanged(int32_t controlId, int32_t state) = 0;
  // The selection in the view changed; selector may be null.
  virtual void onSelectionChanged(IZelUnknown* selector) = 0;
  virtual void onEvent(IHostEvent* event) = 0;
};
