#pragma once

// A command for tests of the host's command driving: it records every call the host makes, one line each
// ("canRun", "gui event 1001 1", "mouse press 0", "key release 294"), leaves the view's input to the view,
// and agrees to every step that refuses does not name. Its context is the container (the extended command
// base), so it also shows what the container answers. With an echo stream it also prints each line there as
// "command: <line>", for tests that watch a host process from outside. GUI thread only.

#include <cstdio>
#include <string>
#include <vector>

#include "framework/commands/comp_base_cmd.h"

class RecordingCommand : public CompBaseCmdInt {
 public:
  int32_t setContext(IZelUnknown* context) override {
    record("setContext");
    return CompBaseCmdInt::setContext(context);
  }
  void setGui(IGuiDialog* dialog) override {
    record("setGui");
    CompBaseCmdInt::setGui(dialog);
  }
  bool canRun(IZelUnknown*) override { return answer("canRun"); }
  void createGui(IGuiDialog*) override { record("createGui"); }
  bool activate() override { return answer("activate"); }
  void deactivate() override { record("deactivate"); }
  bool canApply() override { return answer("canApply"); }
  bool apply() override { return answer("apply"); }
  bool cancel() override { return answer("cancel"); }
  void finish() override { record("finish"); }

  void onGuiEvent(int32_t id, int32_t value) override { note("gui event", id, value); }
  void onGuiValue(int32_t id, double value) override { note("gui value", id, value); }
  void onGuiValueChanged(int32_t id, int32_t value) override { note("gui value changed", id, value); }
  void onEvent(IHostEvent* event) override { record("event " + std::to_string(event->id())); }
  // Input is noted and left to the view.
  bool onMousePress(IGfxMouseData* mouse) override { return noteInput("mouse press", mouse->button()); }
  bool onMouseMove(IGfxMouseData* mouse) override { return noteInput("mouse move", mouse->button()); }
  bool onMouseRelease(IGfxMouseData* mouse) override { return noteInput("mouse release", mouse->button()); }
  bool onKeyPress(IGfxKeyData* key) override { return noteInput("key press", key->keyCode()); }
  bool onKeyRelease(IGfxKeyData* key) override { return noteInput("key release", key->keyCode()); }

  std::vector<std::string> calls;
  FILE* echo = nullptr;

 protected:
  void record(const std::string& call) {
    calls.push_back(call);
    if (!echo) return;
    std::fprintf(echo, "command: %s\n", call.c_str());
    std::fflush(echo);
  }
  // Whether the command refuses the step call ("activate").
  virtual bool refuses(const std::string&) { return false; }

 private:
  bool answer(const char* call) {
    record(call);
    return !refuses(call);
  }
  bool noteInput(const char* what, int32_t value) {
    record(std::string(what) + " " + std::to_string(value));
    return false;
  }
  void note(const char* what, int32_t id, double value) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %d %g", what, id, value);
    record(text);
  }
};
