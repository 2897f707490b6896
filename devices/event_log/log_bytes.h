#pragma once

// The log is UTF-8. Element names, attribute names and numbers are ASCII; only a custom event's name can
// carry other characters. A custom event's name reaches the writer as the host's narrow text, which is UTF-8,
// and a replay hands it on as UTF-8 again.
//
// Logs written before the log was UTF-8 stored each character of a name below U+0100 as one byte of that
// value. Such a byte starts no well-formed UTF-8 sequence (a valid sequence was a name that was UTF-8
// already), so a byte that does not decode is read as that character: an old log plays as it always did, and
// a name whose bytes were not UTF-8 comes out as the characters the old replay showed. Nothing fails on it.

#include <string>

#include "basic_types/zel_string.h"

// The text as UTF-8.
std::string logBytes(const ZelString& text);
// The same, appended to bytes.
void appendLogBytes(std::string& bytes, const ZelString& text);

// UTF-8 bytes as text; a byte that does not decode is the character of its value. The bytes are taken
// and let go of as soon as they are decoded.
ZelString logText(std::string bytes);
