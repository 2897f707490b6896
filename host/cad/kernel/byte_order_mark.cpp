#include "host/cad/kernel/byte_order_mark.h"

#include <string>
#include <string_view>

void skipByteOrderMark(std::istream& in) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::string head(kByteOrderMark.size(), '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  in.clear();
  in.seekg(head == kByteOrderMark ? std::streamoff(kByteOrderMark.size()) : 0);
}
