#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-16 to UTF-8 with surrogate pairs joined into one code point. A lone surrogate becomes U+FFFD, so the
// output is always valid UTF-8.
std::string toUtf8(std::u16string_view text);

// UTF-8 to UTF-16. Malformed sequences become U+FFFD, one per bad byte.
std::u16string fromUtf8(std::string_view text);

}  // namespace platform
