#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-16 to UTF-8 with surrogate pairs joined into one code point. A lone surrogate becomes U+FFFD, so the
// output is always valid UTF-8.
std::string toUtf8(std::u16string_view text);
// The same, appended to out.
void appendUtf8(std::string& out, std::u16string_view text);

// What a byte that starts no well-formed sequence becomes.
enum class Malformed {
  kReplace,  // U+FFFD
  kLatin1,   // the character of the byte's value, for text that may predate UTF-8
};

// UTF-8 to UTF-16, one character per bad byte.
std::u16string fromUtf8(std::string_view text, Malformed malformed = Malformed::kReplace);

}  // namespace platform
