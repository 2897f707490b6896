#include "commands/measure/curve_number.h"

#include <limits>

namespace {
constexpr std::u16string_view kPrefix = u"Curves";

bool isWhiteSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}
}  // namespace

std::optional<int32_t> curveNumber(std::u16string_view name) {
  if (!name.starts_with(kPrefix)) return std::nullopt;
  int64_t value = 0;
  bool digits = false;
  for (char16_t c : name.substr(kPrefix.size())) {
    if (isWhiteSpace(c)) continue;
    if (c < u'0' || c > u'9') break;
    value = value * 10 + (c - u'0');
    if (value >= std::numeric_limits<int32_t>::max()) return std::nullopt;
    digits = true;
  }
  if (!digits) return std::nullopt;
  return static_cast<int32_t>(value);
}
