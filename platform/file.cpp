#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "basic_types/no_destructor.h"
#include "platform/utf8.h"

namespace platform {
namespace {

// The largest count one system call is given; larger requests are split.
constexpr uint64_t kLargestCall = 0x7FFFF000;
// Text-mode output is converted in blocks of this many caller bytes.
constexpr size_t kTextBlock = 8192;

// The descriptors opened in text mode. Guarded by its own mutex, held only to look one up.
struct TextDescriptors {
  std::mutex mutex;
  std::unordered_set<int32_t> fds;
};

TextDescriptors& textDescriptors() {
  static NoDestructor<TextDescriptors> instance;
  return *instance;
}

bool isText(int32_t fd) {
  std::lock_guard lock(textDescriptors().mutex);
  return textDescriptors().fds.count(fd) > 0;
}

void markText(int32_t fd, bool text) {
  std::lock_guard lock(textDescriptors().mutex);
  if (text) {
    textDescriptors().fds.insert(fd);
  } else {
    textDescriptors().fds.erase(fd);
  }
}

int systemFlags(uint32_t flags) {
  int result = O_CLOEXEC;
  uint32_t access = flags & (kWriteOnly | kReadWrite);
  result |= access == kReadWrite ? O_RDWR : access == kWriteOnly ? O_WRONLY : O_RDONLY;
  if (flags & kAppend) result |= O_APPEND;
  if (flags & kCreate) result |= O_CREAT;
  if (flags & kTruncate) result |= O_TRUNC;
  if (flags & kExclusive) result |= O_EXCL;
  if (flags & kNoFollow) result |= O_NOFOLLOW;
  return result;
}

mode_t systemMode(uint32_t flags, uint32_t permission) {
  mode_t mode = 0;
  if (permission & kPermitRead) mode |= S_IRUSR | S_IRGRP | S_IROTH;
  if (permission & kPermitWrite) mode |= S_IWUSR | S_IWGRP | S_IWOTH;
  if (flags & kOwnerOnly) mode &= S_IRWXU;
  return mode;
}

// Writes every byte unless the system refuses; the number written, or -1 when nothing was.
int64_t writeAll(int32_t fd, const char* bytes, uint64_t count) {
  uint64_t done = 0;
  while (done < count) {
    ssize_t written = ::write(fd, bytes + done, std::min(count - done, kLargestCall));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return done > 0 ? static_cast<int64_t>(done) : -1;
    done += static_cast<uint64_t>(written);
  }
  return static_cast<int64_t>(done);
}

// LF becomes CR LF. Answers the caller's bytes written, as a text-mode write counts them.
int64_t writeText(int32_t fd, const char* bytes, uint64_t count) {
  std::string block;
  uint64_t done = 0;
  while (done < count) {
    const uint64_t take = std::min<uint64_t>(count - done, kTextBlock);
    const char* out = bytes + done;
    uint64_t size = take;
    // A block without a line feed, as most are, goes out as it is.
    if (std::memchr(out, '\n', take)) {
      const char* run = out;
      const char* end = out + take;
      block.clear();
      while (const char* feed =
                 static_cast<const char*>(std::memchr(run, '\n', static_cast<size_t>(end - run)))) {
        block.append(run, feed).append("\r\n");
        run = feed + 1;
      }
      block.append(run, end);
      out = block.data();
      size = block.size();
    }
    if (writeAll(fd, out, size) != static_cast<int64_t>(size))
      return done > 0 ? static_cast<int64_t>(done) : -1;
    done += take;
  }
  return static_cast<int64_t>(done);
}

}  // namespace

std::string systemPath(std::u16string_view path) {
  std::string name = toUtf8(path);
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

int32_t openFile(std::u16string_view path, uint32_t flags, uint32_t permission) {
  std::string name = systemPath(path);
  int fd = -1;
  do {
    fd = ::open(name.c_str(), systemFlags(flags), systemMode(flags, permission));
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  if (flags & kDeleteOnClose) ::unlink(name.c_str());
  markText(fd, (flags & kText) != 0);
  return fd;
}

int64_t readFile(int32_t fd, void* buffer, uint64_t count) {
  for (;;) {
    ssize_t got = ::read(fd, buffer, std::min(count, kLargestCall));
    if (got >= 0) return got;
    if (errno != EINTR) return -1;
  }
}

int64_t writeFile(int32_t fd, const void* buffer, uint64_t count) {
  const char* bytes = static_cast<const char*>(buffer);
  return isText(fd) ? writeText(fd, bytes, count) : writeAll(fd, bytes, count);
}

int64_t seekFile(int32_t fd, int64_t offset, SeekOrigin origin) {
  int whence = origin == SeekOrigin::kBegin ? SEEK_SET : origin == SeekOrigin::kCurrent ? SEEK_CUR : SEEK_END;
  return ::lseek(fd, offset, whence);
}

int32_t closeFile(int32_t fd) {
  markText(fd, false);
  return ::close(fd) == 0 ? 0 : -1;
}

int32_t unlinkFile(std::u16string_view path) {
  return ::unlink(systemPath(path).c_str()) == 0 ? 0 : -1;
}

FileKind fileKind(std::u16string_view path) {
  struct stat status {};
  if (::stat(systemPath(path).c_str(), &status) != 0) return FileKind::kMissing;
  return S_ISREG(status.st_mode) ? FileKind::kRegular : FileKind::kOther;
}

FileError lastFileError() {
  switch (errno) {
    case 0:
      return FileError::kNone;
    case EEXIST:
      return FileError::kExists;
    case ENOENT:
      return FileError::kNotFound;
    default:
      return FileError::kOther;
  }
}

}  // namespace platform
