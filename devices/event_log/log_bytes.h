#pragma once

// The log stores every character as one byte and the replay widens every byte back to one character. A custom
// event's name reaches the writer as bytes and widens one character per byte, so writing each character back
// as its byte keeps the name's bytes exactly through a record and its replay, whatever they encode.

#include <string>

#include "basic_types/zel_string.h"

// Each character below 256 as its byte; a character above that has no byte and is left out. The text's
// element names, attribute names and numbers are ASCII and come out as they are.
std::string logBytes(const ZelString& text);
