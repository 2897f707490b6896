// Paths come from settings, dialogs and files: any text must go through the path functions without reading
// outside it, and normalising must settle after one pass.

#include <cstddef>
#include <cstdint>

#include "basic_types/zel_string.h"
#include "framework/files/zel_path.h"
#include "fuzz/utf16_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZelString path = utf16Input(data, size);
  ZelString once = path;
  ZelPath::normalize(once);
  ZelString twice = once;
  ZelPath::normalize(twice);
  if (!(once == twice)) __builtin_trap();
  ZelString name = ZelPath::fileName(path);
  if (name.length() > path.length()) __builtin_trap();
  (void)ZelPath::directory(path);
  (void)ZelPath::directoryForm(path);
  ZelString extended = path;
  ZelPath::setExtension(extended, ZelString(u"tfm"));
  ZelPath::addSuffix(extended, ZelString(u"-0001"));
  ZelString joined = once;
  ZelPath::append(joined, name);
  return 0;
}
