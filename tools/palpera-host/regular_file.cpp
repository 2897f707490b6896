#include "regular_file.h"

#include "platform/file.h"
#include "platform/utf8.h"

std::optional<std::string> whyNoRegularFile(const std::string& path) {
  switch (platform::fileKind(platform::fromUtf8(path))) {
    case platform::FileKind::kMissing:
      return "no such file";
    case platform::FileKind::kOther:
      return "not a regular file";
    case platform::FileKind::kRegular:
      break;
  }
  return std::nullopt;
}
