#pragma once

// ZelIfstream and ZelOfstream: a std::istream and a std::ostream over a ZelFdStreambuf on a UTF-16 path. The
// direction ("in" or "out") is always part of the mode. A file that cannot be opened leaves the stream with
// badbit and failbit set. The destructor writes pending output and closes the file; close does the same and
// reports a failure through failbit, so that a lost write is never silent. One thread at a time.

#include <istream>
#include <ostream>

#include "basic_types/zel_string.h"
#include "framework/files/zel_fd_streambuf.h"

template <class Stream, std::ios_base::openmode kDirection>
class ZelFdStream : public Stream {
 public:
  explicit ZelFdStream(const ZelString& path, std::ios_base::openmode mode = kDirection) : Stream(nullptr) {
    this->init(&buffer_);
    if (!buffer_.open(path, mode | kDirection))
      this->setstate(std::ios_base::badbit | std::ios_base::failbit);
  }
  ZelFdStream(const ZelFdStream&) = delete;
  ZelFdStream& operator=(const ZelFdStream&) = delete;

  bool isOpen() const { return buffer_.isOpen(); }
  // False, with failbit set, when pending output could not be written or the file not closed.
  bool close() {
    bool closed = buffer_.close();
    if (!closed) this->setstate(std::ios_base::failbit);
    return closed;
  }

 private:
  ZelFdStreambuf buffer_;
};

using ZelIfstream = ZelFdStream<std::istream, std::ios_base::in>;
using ZelOfstream = ZelFdStream<std::ostream, std::ios_base::out>;
