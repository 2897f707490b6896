#include "framework/memory/memory_report.h"

#include <algorithm>
#include <cstdio>

#include "basic_types/zel_string.h"
#include "framework/files/zel_path.h"
#include "framework/memory/memory_manager.h"
#include "framework/object/iptr.h"
#include "host/api/data_store.h"
#include "host/api/mem_checker.h"
#include "platform/file.h"
#include "platform/memory_status.h"

namespace {

constexpr uint64_t kKiB = 1024;
// The host memory manager counts in units of 24 KiB.
constexpr uint64_t kManagerUnitKiB = 24;

struct MemoryFigures {
  uint64_t systemFree = 0;
  uint64_t systemTotal = 0;
  uint64_t swapFree = 0;
  uint64_t swapTotal = 0;
};

MemoryFigures figuresFromSystem() {
  platform::MemoryStatus status;
  if (!platform::queryMemoryStatus(status)) return {};
  MemoryFigures f;
  f.systemFree = status.availablePhysical / kKiB;
  f.systemTotal = status.totalPhysical / kKiB;
  uint64_t swapTotal = std::min(status.totalVirtual - status.totalPhysical, status.totalPageFile);
  uint64_t swapFree =
      std::min({status.availableVirtual - status.availablePhysical, status.availablePageFile, swapTotal});
  f.swapTotal = swapTotal / kKiB;
  f.swapFree = swapFree / kKiB;
  return f;
}

MemoryFigures memoryFigures() {
  SPtr<IMemChecker> checker;
  if (!checker || !checker->isAvailable()) return figuresFromSystem();
  MemoryFigures f;
  checker->query(&f.systemFree, &f.systemTotal, &f.swapFree, &f.swapTotal, static_cast<int32_t>(kKiB));
  return f;
}

// One line: the label as given (18 characters), the number right-aligned in 7, the unit letter.
void appendLine(std::string& text, const char* label, uint64_t value, char unit) {
  char line[96];
  std::snprintf(line, sizeof line, "%s%7llu%c\n", label, static_cast<unsigned long long>(value), unit);
  text += line;
}

}  // namespace

std::string memoryReportText(uint64_t attemptedBytes) {
  std::string text;
  if (attemptedBytes != 0) {
    appendLine(text, "attempted:        ", attemptedBytes, 'b');
    text += "\n";
  }
  MemoryFigures f = memoryFigures();
  appendLine(text, "system free:      ", f.systemFree, 'k');
  appendLine(text, "system total:     ", f.systemTotal, 'k');
  appendLine(text, "swap free:        ", f.swapFree, 'k');
  appendLine(text, "swap total:       ", f.swapTotal, 'k');
  text += "\n";
  IPtr<ZelMM::IZelMManager> manager = getMemoryManager();
  if (manager) {
    appendLine(text, "zelmm core now:   ", uint64_t{manager->coreNow()} * kManagerUnitKiB, 'k');
    appendLine(text, "zelmm core limit: ", uint64_t{manager->coreLimit()} * kManagerUnitKiB, 'k');
    appendLine(text, "zelmm swap now:   ", uint64_t{manager->swapNow()} * kManagerUnitKiB, 'k');
    appendLine(text, "zelmm swap limit: ", uint64_t{manager->swapLimit()} * kManagerUnitKiB, 'k');
  } else {
    text += "zelmm not available\n";
  }
  text += "\n";
  return text;
}

void writeMemoryLog(uint64_t attemptedBytes) {
  SPtr<IDataStore> store;
  if (!store) return;
  ZelString path = store->getString("Directories/Logs Directory");
  if (path.isEmpty()) return;
  ZelPath::normalize(path);
  ZelPath::append(path, ZelString(u"memory.log"));
  std::string text = memoryReportText(attemptedBytes);
  int32_t fd = platform::openFile(
      path.c_str(), platform::kWriteOnly | platform::kCreate | platform::kTruncate | platform::kText,
      platform::kPermitRead | platform::kPermitWrite);
  if (fd < 0) return;
  platform::writeFile(fd, text.data(), text.size());
  platform::closeFile(fd);
}
