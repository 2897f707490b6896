#pragma once

// The escaping that keeps a text one field of one line in the host's text outputs (the settings listing, the
// host log): a backslash, a tab, a carriage return and a line feed become \\, \t, \r and \n; no other byte
// changes.

#include <optional>
#include <string>
#include <string_view>

std::string escapeField(std::string_view bytes);
// The bytes an escaped field stands for, or none for an unknown escape, a backslash at the end, or a raw tab,
// carriage return or line feed, which escaping never leaves.
std::optional<std::string> unescapeField(std::string_view field);
