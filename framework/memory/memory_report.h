#pragma once

#include <cstdint>
#include <string>

// The text of the out-of-memory report: the failed request (when there was one), the system's memory
// figures in KiB, and the host memory manager's counters (in units of 24 KiB, shown in KiB). Built with the C
// heap only, since the pool may be what ran out.
std::string memoryReportText(uint64_t attemptedBytes);

// Writes the report as "memory.log" (replacing an earlier one) in the directory of the setting
// "Directories/Logs Directory"; nothing when that directory is not known.
void writeMemoryLog(uint64_t attemptedBytes);
