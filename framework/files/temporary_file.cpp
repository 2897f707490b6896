#include "framework/files/temporary_file.h"

#include <cstdio>

#include "framework/files/zel_path.h"
#include "framework/object/iptr.h"
#include "host_api/data_store.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/process.h"

namespace {

// Names tried before giving up on a directory where every fresh name seems taken.
constexpr int kNameAttempts = 8;

constexpr uint32_t kTemporaryFlags = platform::kReadWrite | platform::kBinary | platform::kCreate |
                                     platform::kExclusive | platform::kNoFollow | platform::kOwnerOnly |
                                     platform::kDeleteOnClose;

ZelString configuredTempDirectory() {
  SPtr<IDataStore> store;
  return store ? store->getString("Directories/Temp Directory") : ZelString();
}

}  // namespace

bool makeTempFileName(ZelString& out) {
  uint64_t counter = platform::performanceCounter();
  uint32_t process = platform::currentProcessId();
  out = configuredTempDirectory();
  if (out.isEmpty()) out = ZelPath::directoryForm(ZelPath::tempDirectory());
  if (out.isEmpty()) return false;
  char name[40];
  std::snprintf(name, sizeof name, "zel-%08x-%08x-temp", process, static_cast<uint32_t>(counter));
  if (out.c_str()[out.length() - 1] != u'\\') out += ZelString(u"\\");
  out += ZelString(name);
  return true;
}

TemporaryFile::~TemporaryFile() {
  if (fd_ >= 0) platform::closeFile(fd_);
}

bool TemporaryFile::create() {
  if (fd_ >= 0) return false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    if (!makeTempFileName(path_)) return false;
    fd_ = platform::openFile(std::u16string_view(path_.c_str(), path_.length()), kTemporaryFlags,
                             platform::kPermitRead | platform::kPermitWrite);
    if (fd_ >= 0) return true;
    if (platform::lastFileError() != platform::FileError::kExists) return false;
  }
  return false;
}
