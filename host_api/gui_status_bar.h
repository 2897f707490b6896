#pragma once

// The host's status bar: the help text a command shows while it runs, kept per owner; the latest owner's
// text is the one shown. Main thread only.

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IGuiStatusBar : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiStatusBar";

  // The owner (held without a reference) and its text, replacing its earlier one.
  virtual void setHelpText(IZelUnknown* owner, const ZelString& text) = 0;
  // Nothing when the owner shows no text.
  virtual void clearHelpText(IZelUnknown* owner) = 0;
};
