#pragma once

// The host's binary streams, which the module's chunk files are written into and read from (for example the
// component-data stream of a document). The module keeps its own write buffer and reaches a stream only
// through these operations. A stream belongs to one thread at a time.

#include <cstdint>

#include "host_api/zel_unknown.h"

enum class BinarySeek : int32_t { kBegin = 0, kCurrent = 1, kEnd = 2 };

class IZelBinaryOutStream : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelBinaryOutStream";

  // The number of bytes written; fewer than n when the stream fails.
  virtual uint64_t write(const void* bytes, uint64_t n) = 0;
  // The position of the next byte written.
  virtual uint64_t tell() = 0;
  // False when the position cannot be reached.
  virtual bool seek(int64_t position, BinarySeek mode) = 0;
  // The format version of the document being written: from 1 to 9 chunk lengths are 4 bytes, else 8.
  virtual int32_t version() = 0;
};

class IZelBinaryInStream : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelBinaryInStream";

  // The number of bytes read; fewer than n at the end of the data, which also makes the stream not good.
  virtual uint64_t read(void* bytes, uint64_t n) = 0;
  virtual uint64_t tell() = 0;
  // False when the position lies outside the data; a seek that succeeds makes the stream good again.
  virtual bool seek(int64_t position, BinarySeek mode) = 0;
  virtual bool good() = 0;
  virtual void close() = 0;
  // The end of the readable data.
  virtual uint64_t size() = 0;
  // The chunk-length width of the stream: 0 while not known, else 32 or 64. The first chunk that tells sets
  // it.
  virtual int32_t width() = 0;
  virtual void setWidth(int32_t bits) = 0;
};
