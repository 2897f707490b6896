#include "host/gui/dialog_list.h"

#include <utility>

namespace {

bool holds(const DialogControl& list, int32_t index) {
  return isList(list) && index >= 0 && static_cast<size_t>(index) < list.entries.size();
}

}  // namespace

bool isList(const DialogControl& control) {
  return control.kind == "list" || control.kind == "dropdown";
}

bool appendListEntry(DialogControl& list, std::u16string text) {
  if (!isList(list)) return false;
  list.entries.push_back({std::move(text)});
  return true;
}

bool removeListEntry(DialogControl& list, int32_t index) {
  if (!holds(list, index)) return false;
  list.entries.erase(list.entries.begin() + index);
  if (list.selection == index) {
    selectListEntry(list, -1);
  } else if (list.selection > index) {
    selectListEntry(list, list.selection - 1);
  }
  return true;
}

bool swapListEntries(DialogControl& list, int32_t first, int32_t second) {
  if (!holds(list, first) || !holds(list, second)) return false;
  std::swap(list.entries[static_cast<size_t>(first)], list.entries[static_cast<size_t>(second)]);
  if (list.selection == first) {
    selectListEntry(list, second);
  } else if (list.selection == second) {
    selectListEntry(list, first);
  }
  return true;
}

bool clearList(DialogControl& list) {
  if (!isList(list)) return false;
  list.entries.clear();
  return selectListEntry(list, -1);
}

bool selectListEntry(DialogControl& list, int32_t index) {
  if (index != -1 && !holds(list, index)) return false;
  list.selection = index;
  list.value = index;
  return true;
}

bool enableListEntry(DialogControl& list, int32_t index, bool enabled) {
  if (!holds(list, index)) return false;
  list.entries[static_cast<size_t>(index)].enabled = enabled;
  return true;
}
