#pragma once

// A command's dialog, as the host builds it. Controls are addressed by id; several widgets share one dialog
// by reserving disjoint blocks of ids. Pressing a button or changing a control calls the dialog's receiver.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host/api/gui_receiver.h"
#include "host/api/zel_unknown.h"

class IGuiDialog : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiDialog";
  // The constant commands pass as the third argument of enableControl.
  static constexpr int32_t kEnableDefault = -30000;

  // The first id of a block of count fresh control ids.
  virtual int32_t reserveControlIds(int32_t count) = 0;
  // Adds a control of a kind ("button", "check", "number", "text", "picture", ...) under an id and a name.
  virtual bool addControl(int32_t id, const char* kind, const ZelString& name) = 0;
  virtual void enableControl(int32_t id, bool enabled, int32_t mode) = 0;
  virtual void setControlFlag(int32_t id, bool flag) = 0;
  virtual void setControlText(int32_t id, const ZelString& text) = 0;
  virtual void setControlValue(int32_t id, double value) = 0;
  // False when there is no such control.
  virtual bool getControlValue(int32_t id, double* value) = 0;
  virtual void registerPicture(int32_t number, const char* imageName) = 0;
  // The receiver of the dialog's events (held without a reference).
  virtual void setReceiver(IGuiReceiver* receiver) = 0;
};
