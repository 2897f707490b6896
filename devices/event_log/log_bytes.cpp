#include "devices/event_log/log_bytes.h"

#include "platform/ascii_text.h"
#include "platform/utf8.h"

std::string logBytes(const ZelString& text) {
  std::string bytes;
  appendLogBytes(bytes, text);
  return bytes;
}

void appendLogBytes(std::string& bytes, const ZelString& text) {
  platform::appendUtf8(bytes, std::u16string_view(text.c_str(), static_cast<size_t>(text.length())));
}

ZelString logText(std::string bytes) {
  // A log is nearly always ASCII, whose bytes are its characters: they widen straight into the text.
  if (platform::isAscii(bytes.data(), bytes.size())) return ZelString(bytes.c_str());
  std::u16string wide = platform::fromUtf8(bytes, platform::Malformed::kLatin1);
  std::string().swap(bytes);  // a whole log's bytes are let go before its text is copied
  ZelString text;
  text.setBuffer(wide.c_str(), -1);  // copies: the text holds no NUL
  return text;
}
