#pragma once

// The plug-ins a manager can be given, as the options page lists them: none first, then every loaded plug-in
// the manager accepts, in natural order of their names (digit runs by value: "Probe 2" before "Probe 10").
// Without a manager only the first entry remains.

#include <vector>

#include "basic_types/zel_array.h"
#include "basic_types/zel_string.h"

class IZelPlugin;
class IZelPluginManager;

std::vector<IZelPlugin*> pluginChoices(const std::vector<IZelPlugin*>& loaded, IZelPluginManager* manager);

// The list's texts at positions 1 to n: "[None]" for the empty entry, the plug-in's name otherwise.
void choiceTexts(const std::vector<IZelPlugin*>& choices, ZelCountedArray<ZelString>& texts);
