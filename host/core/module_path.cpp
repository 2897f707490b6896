#include "host/core/module_path.h"

#include <algorithm>

#include "platform/utf8.h"

ZelString modulePathOf(const std::string& hostPath) {
  std::u16string wide = platform::fromUtf8(hostPath);
  std::replace(wide.begin(), wide.end(), u'/', u'\\');
  ZelString path;
  path.setBuffer(wide.c_str(), -1);
  return path;
}
