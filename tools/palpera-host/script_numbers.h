#pragma once

// Strict readings of a script's words as numbers: the whole word must be the number (no blanks, no trailing
// text), written in the "C" locale's form. Each throws ScriptError naming the word otherwise.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A whole number of at most 64 bits, with an optional minus sign; nothing for any other word.
std::optional<int64_t> readWholeNumber(const std::string& word);
// The same, throwing for any other word.
int64_t wholeNumberWord(const std::string& word);
// A whole number that fits 32 bits, or nothing.
std::optional<int32_t> readInt32(const std::string& word);
// A finite number ("1", "-0.5", "2.5e-3"); "inf" and "nan" are refused.
double numberWord(const std::string& word);
// Three numbers from words[first] on, as a point or a direction.
std::array<double, 3> pointWords(const std::vector<std::string>& words, size_t first);
