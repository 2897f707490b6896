#include "host/core/field_escape.h"

namespace {

struct Escape {
  char raw;
  char code;
};

constexpr Escape kEscapes[] = {{'\\', '\\'}, {'\t', 't'}, {'\r', 'r'}, {'\n', 'n'}};

std::optional<char> rawOf(char code) {
  for (const Escape& escape : kEscapes) {
    if (escape.code == code) return escape.raw;
  }
  return std::nullopt;
}

std::optional<char> codeOf(char raw) {
  for (const Escape& escape : kEscapes) {
    if (escape.raw == raw) return escape.code;
  }
  return std::nullopt;
}

}  // namespace

std::string escapeField(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    std::optional<char> code = codeOf(c);
    if (code) out += '\\';
    out += code.value_or(c);
  }
  return out;
}

std::optional<std::string> unescapeField(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c != '\\') {
      if (codeOf(c)) return std::nullopt;
      out += c;
      continue;
    }
    std::optional<char> raw = ++i < field.size() ? rawOf(field[i]) : std::nullopt;
    if (!raw) return std::nullopt;
    out += *raw;
  }
  return out;
}
