#pragma once

// The stand-in host's simple dialog. Every dialog shown is recorded; on the command line its message also
// goes to standard error as it is shown ("dialog: TEXT DETAIL"), since the module tells the user of a failure
// this way. Answers come from a queue that tests and scripts fill; with the queue empty, a dialog on the
// command line reads its answer from standard input (a number per line), and otherwise answers "no" (2) at
// once, so nothing ever waits on a test. Safe on any thread.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/gui_simple_dialog.h"

class ScriptedSimpleDialog : public IGuiSimpleDlg, public IGuiSimpleDlgSetCursorPos, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "ScriptedSimpleDialog";

  struct Shown {
    int32_t style = 0;
    std::u16string text;
    std::u16string detail;
    int32_t answer = 0;
    bool atCursor = false;
  };

  int32_t show(int32_t style, const ZelString& text, const ZelString& detail, bool a, bool b,
               bool c) override;
  void setAtCursor(bool atCursor) override;

  void queueAnswer(int32_t answer);
  // Writes each message to standard error as it is shown (the command-line host).
  void setEcho(bool on);
  // Reads answers from standard input once the queue is empty (the command-line host).
  void answerFromStandardInput(bool on);
  std::vector<Shown> shown();
  void clear();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t nextAnswer();

  std::mutex mutex_;
  std::deque<int32_t> answers_;     // guarded by mutex_
  std::vector<Shown> shown_;        // guarded by mutex_
  bool fromStandardInput_ = false;  // guarded by mutex_
  bool echo_ = false;               // guarded by mutex_
  bool atCursor_ = false;           // guarded by mutex_
};
