#include "devices/event_log/log_number.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

namespace {

bool isBlank(char16_t unit) {
  return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

}  // namespace

std::optional<double> logNumber(const ZelString& text) {
  std::u16string_view units(text.c_str(), static_cast<size_t>(text.length()));
  while (!units.empty() && isBlank(units.front())) units.remove_prefix(1);
  while (!units.empty() && isBlank(units.back())) units.remove_suffix(1);
  const bool plus = !units.empty() && units.front() == u'+';
  if (plus) units.remove_prefix(1);
  std::string ascii;
  ascii.reserve(units.size());
  for (char16_t unit : units) {
    if (unit >= 0x80) return std::nullopt;
    ascii += static_cast<char>(unit);
  }
  // from_chars takes a '-' of its own, which must not follow the '+'.
  if (ascii.empty() || (plus && ascii.front() == '-')) return std::nullopt;
  double value = 0;
  const char* end = ascii.data() + ascii.size();
  const auto [stop, error] = std::from_chars(ascii.data(), end, value);
  if (stop != end) return std::nullopt;
  if (error == std::errc()) return value;
  if (error != std::errc::result_out_of_range) return std::nullopt;
  // A whole number out of range: strtod tells an overflow (an infinity) from an underflow (zero or so).
  return std::strtod(ascii.c_str(), nullptr);
}
