#include "ui/options/plugin_choices.h"

#include <algorithm>

#include "basic_types/string_utilities.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"

namespace {

// A plug-in without a name sorts as empty text, after the empty entry.
const char16_t* sortName(IZelPlugin* plugin) {
  const char16_t* name = plugin->getName().c_str();
  return name ? name : u"";
}

}  // namespace

std::vector<IZelPlugin*> pluginChoices(const std::vector<IZelPlugin*>& loaded, IZelPluginManager* manager) {
  std::vector<IZelPlugin*> choices{nullptr};
  if (manager)
    std::copy_if(loaded.begin(), loaded.end(), std::back_inserter(choices),
                 [manager](IZelPlugin* plugin) { return plugin && manager->acceptsPlugin(plugin); });
  std::stable_sort(choices.begin() + 1, choices.end(),
                   [](IZelPlugin* a, IZelPlugin* b) { return naturalCompare(sortName(a), sortName(b)) < 0; });
  return choices;
}

void choiceTexts(const std::vector<IZelPlugin*>& choices, ZelCountedArray<ZelString>& texts) {
  for (IZelPlugin* plugin : choices) texts.append(plugin ? plugin->getName() : ZelString(u"[None]"));
}
