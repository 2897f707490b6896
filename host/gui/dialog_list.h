#pragma once

// What a list or drop-down list does with its entries (numbered from 0; -1 is none), as changes of its
// control that the control model runs under its lock. Each answers false, changing nothing, for a control
// that is no list or an index outside it.

#include <cstdint>
#include <string>

#include "host/gui/dialog_controls.h"

bool isList(const DialogControl& control);
bool appendListEntry(DialogControl& list, std::u16string text);
bool removeListEntry(DialogControl& list, int32_t index);
// The chosen entry stays chosen where it moves.
bool swapListEntries(DialogControl& list, int32_t first, int32_t second);
bool clearList(DialogControl& list);
// -1 chooses none. The list's value is the chosen index.
bool selectListEntry(DialogControl& list, int32_t index);
bool enableListEntry(DialogControl& list, int32_t index, bool enabled);
