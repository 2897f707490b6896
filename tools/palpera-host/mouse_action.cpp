#include "host/scene/host_gfx_view.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

namespace {

struct Named {
  const char* name;
  int32_t value;
};

using MouseCallback = HostGfxViewMgr::MouseCallback;

constexpr Named kMouseCallbacks[] = {
    {"down", static_cast<int32_t>(MouseCallback::kDown)},
    {"click", static_cast<int32_t>(MouseCallback::kClick)},
    {"double-click", static_cast<int32_t>(MouseCallback::kDoubleClick)},
    {"move", static_cast<int32_t>(MouseCallback::kMove)},
};
// The view's button numbers.
constexpr Named kButtons[] = {{"left", 0}, {"middle", 1}, {"right", 2}};

template <size_t N>
int32_t valueOf(const Named (&table)[N], const std::string& word, const char* what) {
  for (const Named& each : table) {
    if (word == each.name) return each.value;
  }
  throw ScriptError(shownWord(word) + " is no " + what);
}

}  // namespace

// The view is headless, so the script says where the pointer's ray runs; the view answers a module's pick
// with it as if the user had pointed there.
void injectMouse(HostSession& session, const ScriptWords& words) {
  const char* kCallbackWhat = "mouse callback (down, click, double-click or move)";
  const auto callback = static_cast<MouseCallback>(valueOf(kMouseCallbacks, words[0], kCallbackWhat));
  MouseInput input;
  input.rayOrigin = pointWords(words, 1);
  input.rayDirection = pointWords(words, 4);
  if (input.rayDirection == std::array<double, 3>{0, 0, 0}) throw ScriptError("the ray has no direction");
  if (words.size() > 7) input.button = valueOf(kButtons, words[7], "button (left, middle or right)");
  session.host.scene().view().injectMouse(callback, input);
}
