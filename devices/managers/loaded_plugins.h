#pragma once

// What the plug-in managers ask of the device plug-ins the host has loaded. Plug-in pointers carry no
// reference: the host's plug-in handler keeps every loaded plug-in for its whole life. Main thread.

#include <optional>
#include <vector>

#include "basic_types/zel_string.h"

class IZelPlugin;

// Every plug-in the host's plug-in handler lists, in the host's order; none at all when the host has no
// plug-in handler.
std::optional<std::vector<IZelPlugin*>> loadedPlugins();

// Whether the plug-in is an emulator: it answers "IZelEmulatorPlugin".
bool isEmulatorPlugin(IZelPlugin* plugin);

// The first plug-in whose name equals name exactly (letter case included), or null.
IZelPlugin* findByName(const std::vector<IZelPlugin*>& plugins, const ZelString& name);

// The plug-in with the least name by the string order (the earlier one of equal names), or null for none.
IZelPlugin* leastByName(const std::vector<IZelPlugin*>& plugins);
