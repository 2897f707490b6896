#pragma once

// A word of the user's input as a message shows it: in single quotes, cut after kShownCharacters characters
// ("..." marks the cut), with control characters written as \xNN and bytes that are no UTF-8 as U+FFFD.
// So a message stays one short line, and a word can neither drown the reason nor steer the terminal.
// A path is shown whole: cut, it would lose the file's own name, which is what the user needs to see.

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr size_t kShownCharacters = 64;

std::string shownWord(std::string_view word);
std::string shownPath(std::string_view path);
