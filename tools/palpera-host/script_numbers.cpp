#include "script_numbers.h"

#include <charconv>
#include <cmath>

#include "script_action.h"
#include "shown_word.h"

namespace {

template <class T>
bool readWhole(const std::string& word, T& value) {
  const char* end = word.data() + word.size();
  auto [stop, error] = std::from_chars(word.data(), end, value);
  return error == std::errc() && stop == end;
}

}  // namespace

std::optional<int64_t> readWholeNumber(const std::string& word) {
  int64_t value = 0;
  if (!readWhole(word, value)) return std::nullopt;
  return value;
}

int64_t wholeNumberWord(const std::string& word) {
  std::optional<int64_t> value = readWholeNumber(word);
  if (!value) throw ScriptError(shownWord(word) + " is no whole number");
  return *value;
}

std::optional<int32_t> readInt32(const std::string& word) {
  int32_t value = 0;
  if (!readWhole(word, value)) return std::nullopt;
  return value;
}

double numberWord(const std::string& word) {
  double value = 0;
  if (!readWhole(word, value) || !std::isfinite(value)) throw ScriptError(shownWord(word) + " is no number");
  return value;
}

std::array<double, 3> pointWords(const std::vector<std::string>& words, size_t first) {
  return {numberWord(words.at(first)), numberWord(words.at(first + 1)), numberWord(words.at(first + 2))};
}
