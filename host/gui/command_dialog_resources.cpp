#include "host/gui/command_dialog_resources.h"

#include <cstdint>
#include <cstring>

#include "host/gui/host_gui_dialog.h"

namespace {

struct Radio {
  int32_t id;
  const char16_t* caption;
};

// The command's own page, which it builds as control 0 and disables while it probes.
constexpr int32_t kCommandPage = 0;
constexpr int32_t kMethodGroup = 2;
constexpr Radio kMethods[] = {{3, u"Transform of the Test Object"},
                              {5, u"Transform File"},
                              {7, u"Identity"},
                              {9, u"3-2-1 Planes"},
                              {11, u"Move Device"}};

void addOrientToWorldResource(HostGuiDialog& dialog) {
  dialog.addControl(kMethodGroup, "radiogroup", ZelString(u"Method"));
  dialog.nestIn(kMethodGroup, kCommandPage);
  for (const Radio& radio : kMethods) dialog.addRadio(kMethodGroup, radio.id, ZelString(radio.caption), 0);
}

}  // namespace

void addCommandDialogResource(const char* commandClass, HostGuiDialog& dialog) {
  if (commandClass && std::strcmp(commandClass, "PalperaAlignmentCmd") == 0) addOrientToWorldResource(dialog);
}
