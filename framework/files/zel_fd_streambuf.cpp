#include "framework/files/zel_fd_streambuf.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "framework/memory/assertion.h"
#include "platform/file.h"

namespace {

constexpr uint64_t kDefaultBufferSize = 1024;
// The most one read or write moves, as the system's 32-bit counts allow.
constexpr std::streamsize kLargestTransfer = 2147483647;

using Traits = std::char_traits<char>;

std::optional<uint32_t> openFlags(std::ios_base::openmode mode) {
  bool in = mode & std::ios_base::in;
  bool out = mode & std::ios_base::out;
  bool trunc = mode & std::ios_base::trunc;
  bool app = mode & std::ios_base::app;
  uint32_t flags = platform::kCreate | ((mode & std::ios_base::binary) ? platform::kBinary : platform::kText);
  if (app) flags |= platform::kAppend;
  if (in && out) return flags | platform::kReadWrite | (trunc ? platform::kTruncate : 0u);
  // Reading must never empty the file it reads.
  if (in) return trunc ? std::nullopt : std::optional<uint32_t>(flags & ~platform::kCreate);
  if (out) {
    bool keep = (mode & std::ios_base::ate) || app;
    return flags | platform::kWriteOnly | (trunc || !keep ? platform::kTruncate : 0u);
  }
  reportAssertion("0", "zelfdstreambuf", 118);
  return std::nullopt;
}

platform::SeekOrigin originOf(std::ios_base::seekdir dir) {
  if (dir == std::ios_base::beg) return platform::SeekOrigin::kBegin;
  return dir == std::ios_base::cur ? platform::SeekOrigin::kCurrent : platform::SeekOrigin::kEnd;
}

}  // namespace

ZelFdStreambuf* ZelFdStreambuf::open(const ZelString& path, std::ios_base::openmode mode) {
  if (fd_ != -1) return nullptr;
  std::optional<uint32_t> flags = openFlags(mode);
  if (!flags) return nullptr;
  int32_t fd = platform::openFile(std::u16string_view(path.c_str(), path.length()), *flags,
                                  platform::kPermitRead | platform::kPermitWrite);
  if (fd < 0) return nullptr;
  fd_ = fd;
  if (mode & std::ios_base::ate) platform::seekFile(fd_, 0, platform::SeekOrigin::kEnd);
  if (!buffer_ && !bufferChosen_) {
    ownedBuffer_ = std::make_unique<char[]>(kDefaultBufferSize);
    buffer_ = ownedBuffer_.get();
    bufferSize_ = kDefaultBufferSize;
  }
  state_ = ((mode & std::ios_base::in) ? kReadable : 0u) | ((mode & std::ios_base::out) ? kWritable : 0u);
  resetAreas();
  return this;
}

bool ZelFdStreambuf::close() {
  if (fd_ < 0) return false;
  bool written = !(state_ & kWriting) || flush();
  bool closed = platform::closeFile(fd_) == 0;
  fd_ = -1;
  state_ = 0;
  resetAreas();
  return written && closed;
}

void ZelFdStreambuf::resetAreas() {
  setg(nullptr, nullptr, nullptr);
  setp(nullptr, nullptr);
}

void ZelFdStreambuf::preparePut() {
  if (!pbase() && bufferSize_ >= 2) setp(buffer_, buffer_ + bufferSize_ - 1);
}

bool ZelFdStreambuf::flush() {
  std::streamsize pending = pptr() - pbase();
  if (pending == 0) return true;
  int64_t written = platform::writeFile(fd_, pbase(), static_cast<uint64_t>(pending));
  setp(pbase(), epptr());
  return written == pending;
}

ZelFdStreambuf::int_type ZelFdStreambuf::underflow() {
  if (!canRead()) return Traits::eof();
  state_ |= kReading;
  if (gptr() < egptr()) return Traits::to_int_type(*gptr());
  int64_t got = platform::readFile(fd_, readArea(), readAreaSize());
  if (got < 1) {
    setg(nullptr, nullptr, nullptr);
    return Traits::eof();
  }
  setg(readArea(), readArea(), readArea() + got);
  return Traits::to_int_type(*gptr());
}

ZelFdStreambuf::int_type ZelFdStreambuf::pbackfail(int_type c) {
  if (!canRead()) return Traits::eof();
  // Inside the get area, std::streambuf comes here only for a character that differs from the one before.
  if (gptr() > eback()) return Traits::eof();
  int64_t filePosition = platform::seekFile(fd_, 0, platform::SeekOrigin::kCurrent);
  int64_t previous = filePosition - (egptr() - gptr()) - 1;
  if (filePosition < 0 || previous < 0) return Traits::eof();
  char found = 0;
  if (platform::seekFile(fd_, previous, platform::SeekOrigin::kBegin) < 0 ||
      platform::readFile(fd_, &found, 1) != 1) {
    return Traits::eof();
  }
  state_ |= kReading;
  readArea()[0] = found;
  setg(readArea(), readArea(), readArea() + 1);
  if (!Traits::eq_int_type(c, Traits::eof()) && !Traits::eq_int_type(c, Traits::to_int_type(found))) {
    gbump(1);  // the position stays where it was
    return Traits::eof();
  }
  return Traits::to_int_type(found);
}

std::streamsize ZelFdStreambuf::showmanyc() {
  if (state_ & kReading) return egptr() - gptr();
  // Before the first read nothing is known yet; -1 would claim the end of the file.
  return canRead() ? 0 : -1;
}

ZelFdStreambuf::int_type ZelFdStreambuf::overflow(int_type c) {
  if (!canWrite()) return Traits::eof();
  state_ |= kWriting;
  bool isCharacter = !Traits::eq_int_type(c, Traits::eof());
  if (!pbase() && bufferSize_ < 2) {
    char unbuffered = Traits::to_char_type(c);
    return !isCharacter || platform::writeFile(fd_, &unbuffered, 1) == 1 ? Traits::not_eof(c) : Traits::eof();
  }
  if (!pbase()) {
    preparePut();
    if (isCharacter) sputc(Traits::to_char_type(c));
    return Traits::not_eof(c);
  }
  // The put area ends one byte before the buffer does: that spare byte takes c.
  if (isCharacter) {
    *pptr() = Traits::to_char_type(c);
    pbump(1);
  }
  return flush() ? Traits::not_eof(c) : Traits::eof();
}

std::streamsize ZelFdStreambuf::xsgetn(char_type* s, std::streamsize n) {
  if (!canRead() || n <= 0) return 0;
  state_ |= kReading;
  n = std::min(n, kLargestTransfer);
  std::streamsize copied = std::min<std::streamsize>(n, egptr() - gptr());
  if (copied > 0) {
    std::memcpy(s, gptr(), copied);
    gbump(static_cast<int>(copied));
  }
  while (copied < n) {
    int64_t got = platform::readFile(fd_, s + copied, static_cast<uint64_t>(n - copied));
    if (got <= 0) break;
    copied += got;
  }
  return copied;
}

std::streamsize ZelFdStreambuf::xsputn(const char_type* s, std::streamsize n) {
  if (!canWrite() || n <= 0) return 0;
  state_ |= kWriting;
  preparePut();
  if (pbase() && n <= epptr() - pptr()) {
    std::memcpy(pptr(), s, n);
    pbump(static_cast<int>(n));
    return n;
  }
  if (!flush()) return 0;
  int64_t written = platform::writeFile(fd_, s, static_cast<uint64_t>(std::min(n, kLargestTransfer)));
  return written < 0 ? 0 : written;
}

ZelFdStreambuf::pos_type ZelFdStreambuf::seekoff(off_type off, std::ios_base::seekdir dir,
                                                 std::ios_base::openmode) {
  if (fd_ < 0) return pos_type(off_type(-1));
  if ((state_ & kWriting) && !flush()) return pos_type(off_type(-1));
  // The file is ahead of the stream by the bytes read into the buffer and not yet taken.
  if (dir == std::ios_base::cur && (state_ & kReading)) off -= egptr() - gptr();
  resetAreas();
  state_ &= ~(kReading | kWriting);
  int64_t position = platform::seekFile(fd_, off, originOf(dir));
  return pos_type(off_type(position < 0 ? -1 : position));
}

ZelFdStreambuf::pos_type ZelFdStreambuf::seekpos(pos_type pos, std::ios_base::openmode which) {
  return seekoff(off_type(pos), std::ios_base::beg, which);
}

int ZelFdStreambuf::sync() {
  return (state_ & kWriting) && !flush() ? -1 : 0;
}

std::streambuf* ZelFdStreambuf::setbuf(char_type* buffer, std::streamsize size) {
  if (fd_ >= 0 &&
      seekoff(0, std::ios_base::cur, std::ios_base::in | std::ios_base::out) == pos_type(off_type(-1))) {
    return nullptr;
  }
  ownedBuffer_.reset();
  bool usable = buffer && size > 0;
  buffer_ = usable ? buffer : nullptr;
  bufferSize_ = usable ? static_cast<uint64_t>(size) : 0;
  bufferChosen_ = true;
  resetAreas();
  return this;
}
