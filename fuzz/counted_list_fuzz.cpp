// Counted lists come from plug-ins and readers outside the module: any text must split without looping or
// reading past its end, and items written back as a counted list must read back the same.

#include <cstddef>
#include <cstdint>

#include "basic_types/zel_array.h"
#include "basic_types/zel_string.h"
#include "fuzz/utf16_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZelString text = utf16Input(data, size);
  ZelCountedArray<ZelString> items;
  text.splitCounted(items);
  // Items are disjoint pieces of the text, except a last one that may be the whole text (after a bad count).
  int64_t pieces = 0;
  bool anyEmpty = false;
  for (int32_t i = 1; i <= items.count(); ++i) {
    if (i < items.count()) pieces += items[i].length();
    if (items[i].length() > text.length()) __builtin_trap();
    anyEmpty = anyEmpty || items[i].isEmpty();
  }
  if (pieces > text.length()) __builtin_trap();
  // An empty item is written as a zero count, which reads as "the whole text": only non-empty items
  // round-trip.
  if (anyEmpty) return 0;
  ZelString written;
  for (int32_t i = 1; i <= items.count(); ++i) written.appendCounted(items[i]);
  ZelCountedArray<ZelString> again;
  written.splitCounted(again);
  if (again.count() != items.count()) __builtin_trap();
  for (int32_t i = 1; i <= items.count(); ++i) {
    if (!(again[i] == items[i])) __builtin_trap();
  }
  return 0;
}
