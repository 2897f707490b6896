#pragma once

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

// The host's simple message dialog. Styles: 0 a message with OK; 2 a message the user acknowledges before
// going on (the move-device prompt); 3 a question with retry/yes (answer 1) and cancel/no (answer 2); 4 a
// question with yes (1), no (2) and cancel (any other answer).
class IGuiSimpleDlg : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiSimpleDlg";
  static constexpr int32_t kMessageStyle = 0;
  static constexpr int32_t kAcknowledgedStyle = 2;
  static constexpr int32_t kQuestionStyle = 3;
  static constexpr int32_t kAnswerYes = 1;
  static constexpr int32_t kAnswerNo = 2;

  // Shows the dialog and answers the button chosen.
  virtual int32_t show(int32_t style, const ZelString& text, const ZelString& detail, bool a, bool b,
                       bool c) = 0;
};

// Where the simple dialog comes up: at the mouse cursor while set, else where the host places it.
class IGuiSimpleDlgSetCursorPos : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiSimpleDlgSetCursorPos";

  virtual void setAtCursor(bool atCursor) = 0;
};
