#include "platform/text_encoding.h"

namespace platform {

bool isUtf16Text(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return true;
  if (bytes.size() < 2) return false;
  const auto first = static_cast<unsigned char>(bytes[0]), second = static_cast<unsigned char>(bytes[1]);
  return (first == 0 && second != 0 && second < 0x80) || (second == 0 && first != 0 && first < 0x80);
}

std::string_view withoutByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  return bytes;
}

}  // namespace platform
