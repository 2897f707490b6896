#include "platform/text_encoding.h"

namespace platform {

bool isUtf16Text(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return true;
  if (bytes.size() < 2) return false;
  const auto byte = [&](size_t at) { return static_cast<unsigned char>(bytes[at]); };
  const auto asciiUnit = [&](size_t high, size_t low) {
    return byte(high) == 0 && byte(low) != 0 && byte(low) < 0x80;
  };
  // Two characters, where there are two, each a NUL beside an ASCII byte: a NUL alone before UTF-8 text (a
  // stray byte of another program's) is no UTF-16.
  const bool two = bytes.size() >= 4;
  return (asciiUnit(0, 1) && (!two || byte(2) == 0)) || (asciiUnit(1, 0) && (!two || byte(3) == 0));
}

namespace {

// UTF-32's byte order mark, or, without one, an ASCII character's byte beside three NULs.
bool isUtf32Text(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (bytes.starts_with("\xFF\xFE\0\0"sv) || bytes.starts_with("\0\0\xFE\xFF"sv)) return true;
  if (bytes.size() < 4) return false;
  const auto isAscii = [](char c) { return c != 0 && static_cast<unsigned char>(c) < 0x80; };
  return (isAscii(bytes[0]) && bytes.substr(1, 3) == "\0\0\0"sv) ||
         (bytes.substr(0, 3) == "\0\0\0"sv && isAscii(bytes[3]));
}

}  // namespace

const char* encodingRefusal(std::string_view bytes) {
  if (isUtf32Text(bytes)) return kUtf32Refusal;
  return isUtf16Text(bytes) ? kUtf16Refusal : nullptr;
}

std::string_view withoutByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  return bytes;
}

}  // namespace platform
