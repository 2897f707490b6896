#pragma once

// ZelFdStreambuf: a std::streambuf over one file descriptor of the platform's file calls, with one buffer
// (1024 bytes of its own unless setbuf gives another) that serves reading or writing, whichever the stream is
// doing. Switching between the two needs a seek in between: a read while writing, or a write while reading,
// finds nothing to do. Reads take the bytes already buffered before asking the file for more; a seek or tell
// from the current position counts the buffered bytes not yet read. One thread at a time.
//
// Open modes: "in" and "out" together open for reading and writing (created when missing); "in" alone opens
// an existing file for reading (with "trunc" it fails rather than empty the file); "out" alone creates or
// empties the file unless "in", "ate" or "app" is given ("ate" starts at the end). Without "binary" the file
// is in text mode: every LF written becomes CR LF.

#include <cstdint>
#include <ios>
#include <memory>
#include <streambuf>

#include "basic_types/zel_string.h"

class ZelFdStreambuf : public std::streambuf {
 public:
  ZelFdStreambuf() = default;
  ZelFdStreambuf(const ZelFdStreambuf&) = delete;
  ZelFdStreambuf& operator=(const ZelFdStreambuf&) = delete;
  // Writes what is pending and closes the file.
  ~ZelFdStreambuf() override { close(); }

  // This buffer, or null when the file cannot be opened, the mode asks for neither reading nor writing (a
  // failed assertion), or a file is open already (it stays open).
  ZelFdStreambuf* open(const ZelString& path, std::ios_base::openmode mode);
  // Writes what is pending and closes the file; false when either fails or nothing was open.
  bool close();
  bool isOpen() const { return fd_ >= 0; }

 protected:
  int_type underflow() override;
  int_type pbackfail(int_type c) override;
  std::streamsize showmanyc() override;
  int_type overflow(int_type c) override;
  std::streamsize xsgetn(char_type* s, std::streamsize n) override;
  std::streamsize xsputn(const char_type* s, std::streamsize n) override;
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override;
  pos_type seekpos(pos_type pos, std::ios_base::openmode which) override;
  int sync() override;
  // Pending output is written and the file positioned at the stream's position before the buffer changes.
  // A null buffer or a size below 1 makes the stream unbuffered.
  std::streambuf* setbuf(char_type* buffer, std::streamsize size) override;

 private:
  // Bits of state_.
  static constexpr uint32_t kReadable = 1;
  static constexpr uint32_t kWritable = 2;
  static constexpr uint32_t kReading = 4;  // the get area is in use
  static constexpr uint32_t kWriting = 8;  // the put area is in use

  bool canRead() const { return (state_ & kReadable) && !(state_ & kWriting); }
  bool canWrite() const { return (state_ & kWritable) && !(state_ & kReading); }
  // Writes the put area; false when fewer bytes went out (they are dropped either way).
  bool flush();
  void resetAreas();
  // Sets up the put area on a buffer of at least 2 bytes, keeping one byte spare for overflow.
  void preparePut();
  // The get area's storage: the buffer, or one byte of our own when unbuffered.
  char* readArea() { return bufferSize_ > 0 ? buffer_ : &single_; }
  uint64_t readAreaSize() const { return bufferSize_ > 0 ? bufferSize_ : 1; }

  std::unique_ptr<char[]> ownedBuffer_;  // the buffer when it is our own
  int32_t fd_ = -1;
  uint32_t state_ = 0;
  uint64_t bufferSize_ = 0;
  char* buffer_ = nullptr;
  bool bufferChosen_ = false;  // setbuf decided the buffer; open then makes none
  char single_ = 0;
};
