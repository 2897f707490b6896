#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

std::string folderOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

}  // namespace

FolderLock::FolderLock(const std::string& file) {
  const std::string folder = folderOf(file);
  folder_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int locked = folder_ < 0 ? -1 : 0;
  if (folder_ >= 0) {
    // Each open of the folder is a lock of its own, so threads of one process hold each other back too.
    while ((locked = ::flock(folder_, LOCK_EX)) != 0 && errno == EINTR) {
    }
  }
  if (locked == 0) return;
  error_ = folder + ": " + std::strerror(errno);
  if (folder_ >= 0) ::close(folder_);
  folder_ = -1;
}

FolderLock::~FolderLock() {
  if (folder_ >= 0) ::close(folder_);
}

}  // namespace platform
