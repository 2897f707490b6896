#include "shown_word.h"

#include <cstdio>

#include "platform/utf8.h"

namespace {

bool isControl(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool isHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

// The word in quotes, cut after limit characters.
std::string quoted(std::string_view word, size_t limit) {
  std::u16string text = platform::fromUtf8(word);
  std::u16string shown;
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (characters++ == limit) return "'" + platform::toUtf8(shown) + "...'";
    char16_t c = text[i];
    if (isControl(c)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
      shown.append(escape, escape + 4);
      continue;
    }
    shown += c;
    // A pair of surrogates is one character: never cut between its halves.
    if (isHighSurrogate(c) && i + 1 < text.size()) shown += text[++i];
  }
  return "'" + platform::toUtf8(shown) + "'";
}

}  // namespace

std::string shownWord(std::string_view word) {
  return quoted(word, kShownCharacters);
}

std::string shownPath(std::string_view path) {
  return quoted(path, std::u16string::npos);
}
