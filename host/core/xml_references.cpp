#include "host/core/xml_references.h"

#include <array>
#include <cstdint>

namespace {

// A reference's name is short; a ";" farther away than this ends no reference.
constexpr size_t kLongestReference = 40;

constexpr std::array<std::string_view, 5> kPredefinedEntities = {"lt", "gt", "amp", "apos", "quot"};

// The sections in which "&" is only a character: their openings and closings.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kLiteralSections = {
    {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}}};

template <typename Char>
bool holdsAt(std::basic_string_view<Char> text, size_t at, std::string_view ascii) {
  if (text.size() - at < ascii.size()) return false;
  for (size_t i = 0; i < ascii.size(); ++i) {
    if (text[at + i] != static_cast<Char>(ascii[i])) return false;
  }
  return true;
}

template <typename Char>
size_t find(std::basic_string_view<Char> text, size_t from, std::string_view ascii) {
  for (size_t at = from; at < text.size(); ++at) {
    if (holdsAt(text, at, ascii)) return at;
  }
  return std::basic_string_view<Char>::npos;
}

template <typename Char>
bool isAsciiAlphanumeric(Char c) {
  return (c >= Char('0') && c <= Char('9')) || (c >= Char('a') && c <= Char('z')) ||
         (c >= Char('A') && c <= Char('Z'));
}

// An XML name: a letter, "_", ":" or any character beyond ASCII first, then also digits, "-" and ".".
template <typename Char>
bool isName(std::basic_string_view<Char> name) {
  auto nameStart = [](Char c) {
    return static_cast<uint32_t>(c) >= 0x80 || (c >= Char('a') && c <= Char('z')) ||
           (c >= Char('A') && c <= Char('Z')) || c == Char('_') || c == Char(':');
  };
  if (name.empty() || !nameStart(name.front())) return false;
  for (Char c : name) {
    if (!nameStart(c) && !isAsciiAlphanumeric(c) && c != Char('-') && c != Char('.')) return false;
  }
  return true;
}

bool isXmlCharacter(uint32_t code) {
  return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
         (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The code point of a character reference's digits ("233", "xE9"); none when they are no number.
template <typename Char>
std::optional<uint32_t> codePointOf(std::basic_string_view<Char> digits) {
  const bool hex = !digits.empty() && digits.front() == Char('x');
  if (hex) digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  uint32_t code = 0;
  for (Char c : digits) {
    int value = c >= Char('0') && c <= Char('9')          ? int(c - Char('0'))
                : hex && c >= Char('a') && c <= Char('f') ? int(c - Char('a')) + 10
                : hex && c >= Char('A') && c <= Char('F') ? int(c - Char('A')) + 10
                                                          : -1;
    if (value < 0) return std::nullopt;
    code = code * (hex ? 16 : 10) + static_cast<uint32_t>(value);
    if (code > 0x10FFFF) code = 0x110000;  // beyond every character, and no overflow
  }
  return code;
}

// The reference's text as a message shows it: ASCII, anything else as "?".
template <typename Char>
std::string shown(std::basic_string_view<Char> reference) {
  std::string text;
  for (Char c : reference) text += c > 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  return text;
}

// Why the reference at text[at] ("&...") is bad, or nothing.
template <typename Char>
std::optional<std::string> badReferenceAt(std::basic_string_view<Char> text, size_t at) {
  const std::basic_string_view<Char> rest = text.substr(at, kLongestReference);
  const size_t end = rest.find(Char(';'));
  const bool character = rest.size() > 1 && rest[1] == Char('#');
  if (end == std::basic_string_view<Char>::npos) {
    if (!character) return std::nullopt;  // a lone "&" the reader keeps as itself
    size_t digits = 2;
    while (digits < rest.size() && isAsciiAlphanumeric(rest[digits])) ++digits;
    return "Character reference " + shown(rest.substr(0, digits)) + " has no ending ;";
  }
  const std::basic_string_view<Char> name = rest.substr(1, end - 1);
  if (character) {
    std::optional<uint32_t> code = codePointOf(name.substr(1));
    if (code && isXmlCharacter(*code)) return std::nullopt;
    return "Character reference &" + shown(name) + "; is no character of XML";
  }
  // "A & B;" holds no reference: the reader keeps such an "&" as itself, which changes nothing unseen.
  if (!isName(name)) return std::nullopt;
  for (std::string_view entity : kPredefinedEntities) {
    if (name.size() == entity.size() && holdsAt(name, 0, entity)) return std::nullopt;
  }
  return "Undefined entity &" + shown(name) + ";";
}

template <typename Char>
std::optional<BadReference> badReferenceIn(std::basic_string_view<Char> text) {
  // Nearly every text holds no reference at all, which a search for "&" alone, much faster than the walk
  // below, shows.
  if (text.find(Char('&')) == std::basic_string_view<Char>::npos) return std::nullopt;
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == Char('<')) {
      for (const auto& [opening, closing] : kLiteralSections) {
        if (!holdsAt(text, at, opening)) continue;
        at = find(text, at + opening.size(), closing);
        if (at == std::basic_string_view<Char>::npos) return std::nullopt;  // the reader refuses it
        break;
      }
    } else if (text[at] == Char('&')) {
      if (std::optional<std::string> why = badReferenceAt(text, at)) return BadReference{*why, at};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<BadReference> badReference(std::string_view text) {
  return badReferenceIn(text);
}

std::optional<BadReference> badReference(std::u16string_view text) {
  return badReferenceIn(text);
}
