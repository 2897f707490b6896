#include "host/scene/host_gfx_view.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

void injectKey(HostSession& session, const ScriptWords& words) {
  using KeyCallback = HostGfxViewMgr::KeyCallback;
  KeyCallback callback = KeyCallback::kPress;
  if (words[0] == "release") {
    callback = KeyCallback::kRelease;
  } else if (words[0] != "press") {
    throw ScriptError(shownWord(words[0]) + " is no key callback (press or release)");
  }
  std::optional<int32_t> code = readInt32(words[1]);
  if (!code) throw ScriptError(shownWord(words[1]) + " is no key code");
  session.host.scene().view().injectKey(callback, *code);
}
