#include "devices/event_log/log_bytes.h"

std::string logBytes(const ZelString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.length()));
  for (const char16_t* unit = text.c_str(); *unit; ++unit) {
    if (*unit < 0x100) bytes += static_cast<char>(*unit);
  }
  return bytes;
}
