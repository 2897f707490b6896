#include "host/gui/scripted_simple_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/object/query_chain.h"
#include "platform/utf8.h"

namespace {

void echoMessage(std::u16string_view text, std::u16string_view detail) {
  std::string line = "dialog: " + platform::toUtf8(text);
  // The module often gives a blank detail, which says nothing.
  if (detail.find_first_not_of(u' ') != std::u16string_view::npos) line += " " + platform::toUtf8(detail);
  std::fflush(stdout);  // what was printed before the dialog came up comes first
  std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

int32_t ScriptedSimpleDialog::show(int32_t style, const ZelString& text, const ZelString& detail, bool, bool,
                                   bool) {
  bool ask = false;
  bool echo = false;
  {
    std::lock_guard lock(mutex_);
    ask = answers_.empty() && fromStandardInput_;
    echo = echo_ || ask;
  }
  if (echo) echoMessage(text.c_str(), detail.c_str());
  if (ask) {
    std::fprintf(stderr, "answer (1 yes/retry, 2 no/cancel): ");
    std::fflush(stderr);
  }
  int32_t answer = nextAnswer();
  std::lock_guard lock(mutex_);
  shown_.push_back({style, text.c_str(), detail.c_str(), answer, atCursor_});
  return answer;
}

void ScriptedSimpleDialog::setAtCursor(bool atCursor) {
  std::lock_guard lock(mutex_);
  atCursor_ = atCursor;
}

int32_t ScriptedSimpleDialog::nextAnswer() {
  {
    std::lock_guard lock(mutex_);
    if (!answers_.empty()) {
      int32_t answer = answers_.front();
      answers_.pop_front();
      return answer;
    }
    if (!fromStandardInput_) return kAnswerNo;
  }
  char line[64];
  if (!std::fgets(line, sizeof line, stdin)) return kAnswerNo;
  return static_cast<int32_t>(std::strtol(line, nullptr, 10));
}

void ScriptedSimpleDialog::queueAnswer(int32_t answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void ScriptedSimpleDialog::setEcho(bool on) {
  std::lock_guard lock(mutex_);
  echo_ = on;
}

void ScriptedSimpleDialog::answerFromStandardInput(bool on) {
  std::lock_guard lock(mutex_);
  fromStandardInput_ = on;
}

std::vector<ScriptedSimpleDialog::Shown> ScriptedSimpleDialog::shown() {
  std::lock_guard lock(mutex_);
  return shown_;
}

void ScriptedSimpleDialog::clear() {
  std::lock_guard lock(mutex_);
  shown_.clear();
  answers_.clear();
}

void ScriptedSimpleDialog::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IGuiSimpleDlg>(this)
      .offer<IGuiSimpleDlgSetCursorPos>(this)
      .end();
}
