#include <cstdint>
#include <cstdio>
#include <string>

#include "host/core/data_item_text.h"
#include "host_api/gui_tile.h"
#include "module_objects.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

namespace {

// The module's options page, as the host names it and the ids its lists and slider report.
constexpr const char* kPageClass = "PalperaOptionsTile";
constexpr const char* kPageName = "palpera page";
constexpr int32_t kHardProbeList = 0;
constexpr int32_t kScanningList = 1;
constexpr int32_t kSizeSlider = 4;

IPtr<HostPageWindow> openedPage(HostSession& session) {
  IPtr<HostPageWindow> page;
  if (session.optionsPage) page = session.host.gui().windows().page(kPageName);
  if (!page) throw ScriptError("the options page is not open (options open)");
  return page;
}

void openPage(HostSession& session) {
  if (session.optionsPage) throw ScriptError("the options page is open already");
  session.optionsPage = createModuleObject<IZelTile>(session, kPageClass);
  if (!session.host.gui().windows().build(kPageName)) {
    session.optionsPage.release();
    throw ScriptError("the options page has no window to build");
  }
}

void pickPlugin(HostSession& session, const std::string& listWord, const std::string& entry) {
  int32_t id = listWord == "hardprobe" ? kHardProbeList : listWord == "scanning" ? kScanningList : -1;
  if (id < 0) throw ScriptError("no plug-in list " + shownWord(listWord) + " (hardprobe or scanning)");
  IPtr<HostPageWindow> page = openedPage(session);
  std::optional<HostPageWindow::List> list = page->list(id);
  const std::u16string wanted = platform::fromUtf8(entry);
  for (size_t i = 0; list && i < list->items.size(); ++i) {
    if (list->items[i] == wanted) {
      page->pick(id, static_cast<int32_t>(i));
      return;
    }
  }
  throw ScriptError("the " + listWord + " list has no entry " + shownWord(entry));
}

void slide(HostSession& session, const std::string& word) {
  const int64_t position = wholeNumberWord(word);
  const bool fits = position >= INT32_MIN && position <= INT32_MAX;
  if (!fits || !openedPage(session)->slide(kSizeSlider, static_cast<int32_t>(position)))
    throw ScriptError("the size slider has no position " + shownWord(word));
}

std::string selectionText(const HostPageWindow::List& list) {
  if (!list.selected) return "(none selected)";
  return "selected " + platform::toUtf8(list.items[*list.selected].c_str());
}

void printLine(const HostPageWindow::Line& line) {
  std::string text(2 * line.depth, ' ');
  text += line.kind;
  if (!line.label.empty()) text += " \"" + platform::toUtf8(line.label.c_str()) + "\"";
  if (!line.name.empty()) text += " " + line.name;
  if (line.widget) text += " = " + doubleText(line.widget->shown().value_or(0));
  std::printf("%s\n", text.c_str());
}

void printPage(HostSession& session) {
  IPtr<HostPageWindow> page = openedPage(session);
  for (const HostPageWindow::Line& line : page->lines()) printLine(line);
  for (int32_t id : {kHardProbeList, kScanningList}) {
    if (std::optional<HostPageWindow::List> list = page->list(id)) {
      std::string items;
      for (const std::u16string& item : list->items) items += " [" + platform::toUtf8(item.c_str()) + "]";
      std::printf("list %d:%s; %s\n", id, items.c_str(), selectionText(*list).c_str());
    }
  }
  if (std::optional<HostPageWindow::Slider> slider = page->slider(kSizeSlider))
    std::printf("slider %d: position %d of %d to %d\n", kSizeSlider, slider->position.value_or(0),
                slider->minimum, slider->maximum);
}

}  // namespace

void useOptionsPage(HostSession& session, const ScriptWords& words) {
  const std::string& verb = words[0];
  const size_t extra = words.size() - 1;
  if (verb == "open" && extra == 0) return openPage(session);
  if (verb == "pick" && extra == 2) return pickPlugin(session, words[1], words[2]);
  if (verb == "slide" && extra == 1) return slide(session, words[1]);
  if (verb == "print" && extra == 0) return printPage(session);
  throw ScriptError("options takes open, pick hardprobe|scanning NAME, slide POSITION or print");
}
