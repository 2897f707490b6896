#include "script_numbers.h"

#include <charconv>
#include <cmath>

#include "script_action.h"

namespace {

template <class T>
bool readWhole(const std::string& word, T& value) {
  const char* end = word.data() + word.size();
  auto [stop, error] = std::from_chars(word.data(), end, value);
  return error == std::errc() && stop == end;
}

}  // namespace

int64_t wholeNumberWord(const std::string& word) {
  int64_t value = 0;
  if (!readWhole(word, value)) throw ScriptError("'" + word + "' is no whole number");
  return value;
}

double numberWord(const std::string& word) {
  double value = 0;
  if (!readWhole(word, value) || !std::isfinite(value)) throw ScriptError("'" + word + "' is no number");
  return value;
}
