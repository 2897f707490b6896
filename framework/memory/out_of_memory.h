#pragma once

#include <cstdint>

// The end of every exhausted allocation path: tells the user and ends the process with exit code -1. The code
// (-1 to -5) says which step gave up; attemptedBytes is the request that failed.
[[noreturn]] void memoryExhausted(uint64_t attemptedBytes, int code);

// Tells the user that memory ran out and answers false: through the host's error service when the setting
// "Memory/UseErrorService" chose it, else in a message box titled "Out of Memory".
bool reportOutOfMemory(int code);
