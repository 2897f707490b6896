#include "host/cad/kernel/byte_order_mark.h"

#include <string>

#include "platform/text_encoding.h"

void skipByteOrderMark(std::istream& in) {
  std::string head(platform::kUtf8ByteOrderMark.size(), '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  in.clear();
  in.seekg(head == platform::kUtf8ByteOrderMark ? std::streamoff(head.size()) : 0);
}
