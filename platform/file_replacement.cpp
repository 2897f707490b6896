#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

// Names taken by other writers in the meantime are skipped; past this many the directory is hostile.
constexpr int kNameTries = 100;

// The process that wrote a new version, from what follows ".new-" in its name: "PID-NUMBER".
std::optional<pid_t> writerOf(std::string_view suffix) {
  pid_t pid = 0;
  unsigned number = 0;
  const char* end = suffix.data() + suffix.size();
  const auto [dash, pidError] = std::from_chars(suffix.data(), end, pid);
  if (pidError != std::errc() || pid <= 0 || dash == end || *dash != '-') return std::nullopt;
  const auto [last, numberError] = std::from_chars(dash + 1, end, number);
  if (numberError != std::errc() || last != end) return std::nullopt;
  return pid;
}

// A name beside path that this process has not used: the path, this process and a running number.
std::string freshNameBeside(const std::string& path) {
  static std::atomic<unsigned> next{0};
  return path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(next++);
}

// Whether the new version named so was left by a process gone by now. A name of another live process is that
// process's own; one of this process's number is its own only while it is writing it.
bool isLeftover(pid_t writer, const std::string& name) {
  if (writer == ::getpid()) return !platform::isUnfinished(name);
  return ::kill(writer, 0) != 0 && errno == ESRCH;
}

// The new versions of path that processes gone by now left beside it: ended by SIGKILL or a crash, or by a
// signal before they could remove them.
void clearLeftovers(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string inFolder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string folder = inFolder.empty() ? "." : inFolder;
  const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + ".new-";
  struct CloseDir {
    void operator()(DIR* folder) const { ::closedir(folder); }
  };
  std::unique_ptr<DIR, CloseDir> entries(::opendir(folder.c_str()));
  if (!entries) return;
  while (const dirent* entry = ::readdir(entries.get())) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const std::optional<pid_t> writer = writerOf(name.substr(prefix.size()));
    if (!writer || !isLeftover(*writer, inFolder + std::string(name))) continue;
    ::unlinkat(::dirfd(entries.get()), entry->d_name, 0);
  }
}

// Why a write to the open file failed, which the stream does not keep: the process's file size limit reached,
// or no room left on its file system; "a write failed" when neither can be seen any more.
std::string whyWritesFailed(int fd) {
  struct stat status {};
  rlimit limit{};
  if (::fstat(fd, &status) == 0 && ::getrlimit(RLIMIT_FSIZE, &limit) == 0 &&
      limit.rlim_cur != RLIM_INFINITY && static_cast<rlim_t>(status.st_size) >= limit.rlim_cur)
    return "it reached the process's file size limit of " + std::to_string(limit.rlim_cur) + " bytes";
  struct statvfs room {};
  if (::fstatvfs(fd, &room) == 0 && room.f_bavail == 0) return std::strerror(ENOSPC);
  return "a write failed";
}

// The file a name leads to, through any links.
std::string resolved(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& target) : target_(target) {
  struct stat status {};
  const bool exists = ::stat(target.c_str(), &status) == 0;
  if (!exists && errno != ENOENT) {
    fail(std::strerror(errno));
  } else if (exists && !S_ISREG(status.st_mode)) {
    fail("not a regular file");
  } else {
    replaced_ = exists ? resolved(target) : target;
    open(exists ? std::optional<mode_t>(status.st_mode & 07777) : std::nullopt);
  }
}

void FileReplacement::open(std::optional<mode_t> mode) {
  clearLeftovers(replaced_);
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < kNameTries; ++tries) {
    fresh_ = freshNameBeside(replaced_);
    // Unfinished before it exists, so that no other writer of this process takes it for a leftover.
    unfinished_.emplace(fresh_);
    // Exclusive and not through a link: the name is this writer's own.
    fd = ::open(fresh_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    fresh_.clear();
    unfinished_.reset();
    return fail(std::strerror(error));
  }
  if (mode) ::fchmod(fd, *mode);
  stream_ = ::fdopen(fd, "wb");
  if (stream_) return;
  const int error = errno;
  ::close(fd);
  discard();
  fail(std::strerror(error));
}

FileReplacement::~FileReplacement() {
  discard();
}

bool FileReplacement::commit() {
  if (!stream_) return false;
  std::FILE* stream = std::exchange(stream_, nullptr);
  errno = 0;
  const bool failedBefore = std::ferror(stream) != 0;
  bool written = !failedBefore && std::fflush(stream) == 0 && ::fsync(::fileno(stream)) == 0;
  int error = errno;
  const std::string why = written ? std::string() : whyWritesFailed(::fileno(stream));
  if (std::fclose(stream) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && ::rename(fresh_.c_str(), replaced_.c_str()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) {
    discard();
    fail(failedBefore || error == 0 ? why : std::strerror(error));
    return false;
  }
  fresh_.clear();
  unfinished_.reset();
  return true;
}

void FileReplacement::fail(const std::string& reason) {
  error_ = target_ + ": " + reason;
}

void FileReplacement::discard() {
  if (stream_) std::fclose(std::exchange(stream_, nullptr));
  if (!fresh_.empty()) ::unlink(fresh_.c_str());
  fresh_.clear();
  unfinished_.reset();
}
