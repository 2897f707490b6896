#pragma once

#include <cstdint>

// The end of every exhausted allocation path: writes "memory.log", tells the user and ends the process with
// exit code -1. The code (-1 to -5) says which step gave up; attemptedBytes is the request that failed. One
// thread reports: another thread that runs out meanwhile waits for the end, and an allocation of the report
// itself that fails throws std::bad_alloc back into the report, which then goes on with its literal
// fallbacks.
[[noreturn]] void memoryExhausted(uint64_t attemptedBytes, int code);

// Tells the user that memory ran out and answers false: through the host's error service when the setting
// "Memory/UseErrorService" chose it, else in a message box titled "Out of Memory".
bool reportOutOfMemory(int code);
