#include "platform/message_box.h"

#include <cstdio>
#include <string>

#include "platform/utf8.h"

namespace platform {

void messageBox(std::u16string_view title, std::u16string_view text) {
  std::string line(1, '[');
  line.append(toUtf8(title)).append("] ").append(toUtf8(text)).append(1, '\n');
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace platform
