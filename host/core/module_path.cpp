#include "host/core/module_path.h"

#include <algorithm>

#include "platform/utf8.h"

namespace {

ZelString zelString(const std::u16string& text) {
  ZelString path;
  path.setBuffer(text.c_str(), -1);
  return path;
}

}  // namespace

ZelString modulePathOf(const std::string& hostPath) {
  std::u16string wide = platform::fromUtf8(hostPath);
  std::replace(wide.begin(), wide.end(), u'/', u'\\');
  return zelString(wide);
}

ZelString givenPathOf(const std::string& hostPath) {
  return zelString(platform::fromUtf8(hostPath));
}
