#pragma once

#include <cstdint>
#include <string>

// The text of the out-of-memory report: the failed request (when there was one), the system's memory
// figures in KiB, and the host memory manager's counters (in units of 24 KiB, shown in KiB).
std::string memoryReportText(uint64_t attemptedBytes);

// Writes the report as "memory.log" (replacing an earlier one) in the directory of the setting
// "Directories/Logs Directory", or in the working directory when that setting is empty or cannot be read.
// The report is built on the stack and its path on the C heap, since the pool may be what ran out; when even
// the path cannot be built, the working directory takes the report.
void writeMemoryLog(uint64_t attemptedBytes);
