#pragma once

// The conversions between bytes and UTF-16 code units that nearly every text here takes: almost all is ASCII,
// whose bytes are its code units. They run over whole logs and documents, so each is written to go many units
// at a time.

#include <cstddef>

namespace platform {

// Whether no byte is beyond ASCII.
bool isAscii(const char* bytes, size_t n);

// Writes each of the n bytes as the code unit of its value (Latin-1) to units, which holds n.
void widenBytes(const char* bytes, size_t n, char16_t* units);

// Writes each of the n units to bytes, which holds n, as the byte of its value; false, with bytes holding
// anything, when a unit is beyond ASCII.
bool narrowAscii(const char16_t* units, size_t n, char* bytes);

}  // namespace platform
