#pragma once

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host_api/gui_dialog.h"
#include "host_api/zel_unknown.h"

// A dialog panel that several commands share: it builds its controls into a command's dialog and receives
// that dialog's callbacks.
class IZelWidget : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelWidget";

  // Builds the widget's controls into the dialog under a title, which may be null or empty.
  virtual bool buildGui(IGuiDialog* dialog, const ZelString* title) = 0;
  virtual bool activate() = 0;
  virtual void deactivate() = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool isEnabled() = 0;
  virtual void setName(const char* name) = 0;
  virtual const ZelCString& name() = 0;
};
