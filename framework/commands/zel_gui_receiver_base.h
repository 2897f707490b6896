#pragma once

// The empty defaults of every GUI callback, shared by the command and widget bases: a class overrides only
// the callbacks it handles.

#include "host_api/gui_receiver.h"

class ZelGuiReceiverBase : public virtual IGuiReceiver {
 public:
  void onGuiEvent(int32_t, int32_t) override {}
  void onGuiValueByReference(int32_t, void*) override {}
  void onGuiValue(int32_t, double) override {}
  void onGuiValueChanged(int32_t, int32_t) override {}
  void onGuiStateChanged(int32_t, int32_t) override {}
  void onSelectionChanged(IZelUnknown*) override {}
  void onEvent(IHostEvent*) override {}
};
