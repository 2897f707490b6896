#include "settings_action.h"

#include <cstdio>

#include "host/core/data_item_text.h"

int printSettings(HostSession& session) {
  session.start();
  std::vector<DataItemRegistration> items = session.host.core().dataStore().listGroup(kSettingsGroup);
  if (items.empty()) {
    std::fprintf(stderr, "palpera-host: the data store has no group \"%s\"\n", kSettingsGroup);
    return 1;
  }
  for (const DataItemRegistration& item : items) std::printf("%s\n", registrationLine(item).c_str());
  return 0;
}
