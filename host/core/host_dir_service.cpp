#include "host/core/host_dir_service.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "framework/object/query_chain.h"
#include "platform/utf8.h"

HostDirService::HostDirService() {
  const char* temp = std::getenv("TMPDIR");
  setDirectory("temp", temp && *temp ? temp : "/tmp");
  std::error_code failed;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (!failed) setDirectory("exe", program.parent_path().string());
  // Where the user's files go by default: the folder the host was started in.
  const std::filesystem::path here = std::filesystem::current_path(failed);
  if (!failed) setDirectory("files", here.string());
}

ZelString HostDirService::directory(const char* name) {
  std::lock_guard lock(mutex_);
  return hostText(directories_, name);
}

void HostDirService::setDirectory(const std::string& name, const std::string& systemPath) {
  std::u16string path = platform::fromUtf8(systemPath);
  std::replace(path.begin(), path.end(), u'/', u'\\');
  std::lock_guard lock(mutex_);
  directories_[name] = path;
}

void HostDirService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDirService>(this).end();
}
