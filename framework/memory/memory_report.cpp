#include "framework/memory/memory_report.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string_view>

#include "basic_types/zel_string.h"
#include "framework/files/zel_path.h"
#include "framework/memory/memory_manager.h"
#include "framework/object/iptr.h"
#include "host_api/data_store.h"
#include "host_api/mem_checker.h"
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

// The whole report, built in place: writing it must not need the memory that ran out.
class MemoryReport {
 public:
  explicit MemoryReport(uint64_t attemptedBytes) {
    if (attemptedBytes != 0) {
      line("attempted:        ", attemptedBytes, 'b');
      text("\n");
    }
    MemoryFigures f = figuresOrNone();
    line("system free:      ", f.systemFree, 'k');
    line("system total:     ", f.systemTotal, 'k');
    line("swap free:        ", f.swapFree, 'k');
    line("swap total:       ", f.swapTotal, 'k');
    text("\n");
    IPtr<ZelMM::IZelMManager> manager = getMemoryManager();
    if (manager) {
      line("zelmm core now:   ", uint64_t{manager->coreNow()} * kManagerUnitKiB, 'k');
      line("zelmm core limit: ", uint64_t{manager->coreLimit()} * kManagerUnitKiB, 'k');
      line("zelmm swap now:   ", uint64_t{manager->swapNow()} * kManagerUnitKiB, 'k');
      line("zelmm swap limit: ", uint64_t{manager->swapLimit()} * kManagerUnitKiB, 'k');
    } else {
      text("zelmm not available\n");
    }
    text("\n");
  }

  const char* data() const { return text_; }
  size_t size() const { return size_; }

 private:
  static MemoryFigures figuresOrNone() {
    try {
      return memoryFigures();
    } catch (const std::bad_alloc&) {
      return {};
    }
  }

  // One line: the label as given (18 characters), the number right-aligned in 7, the unit letter.
  void line(const char* label, uint64_t value, char unit) {
    append("%s%7llu%c\n", label, static_cast<unsigned long long>(value), unit);
  }
  void text(const char* piece) { append("%s", piece); }

  template <class... Args>
  void append(const char* format, Args... args) {
    int written = std::snprintf(text_ + size_, sizeof text_ - size_, format, args...);
    if (written > 0) size_ = std::min(sizeof text_ - 1, size_ + static_cast<size_t>(written));
  }

  char text_[1024] = {};  // eleven lines of at most 46 characters, and blank lines
  size_t size_ = 0;
};

constexpr char16_t kLogName[] = u"memory.log";

// The log directory the host's settings name; empty when they name none.
std::u16string logsDirectory() {
  SPtr<IDataStore> store;
  if (!store) return {};
  ZelString setting = store->getString("Directories/Logs Directory");
  return std::u16string(setting.c_str(), setting.length());
}

void writeReportTo(std::u16string_view path, const MemoryReport& report) {
  int32_t fd = platform::openFile(
      path, platform::kWriteOnly | platform::kCreate | platform::kTruncate | platform::kText,
      platform::kPermitRead | platform::kPermitWrite);
  if (fd < 0) return;
  platform::writeFile(fd, report.data(), report.size());
  platform::closeFile(fd);
}

}  // namespace

std::string memoryReportText(uint64_t attemptedBytes) {
  MemoryReport report(attemptedBytes);
  return std::string(report.data(), report.size());
}

void writeMemoryLog(uint64_t attemptedBytes) {
  MemoryReport report(attemptedBytes);
  try {
    std::u16string path = logsDirectory();
    ZelPath::normalize(path);
    ZelPath::append(path, kLogName);
    writeReportTo(path, report);
  } catch (const std::bad_alloc&) {
    try {
      writeReportTo(kLogName, report);
    } catch (const std::bad_alloc&) {
      // Not even a file name can be had: the message that follows is all the user gets.
    }
  }
}
