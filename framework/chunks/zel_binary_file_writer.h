#pragma once

// ZelBinaryFileWriter: writes nested chunks (chunk_format.md) into a host binary out-stream. Values are
// big-endian. The writer keeps a 1024-byte buffer: before each typed value it writes the buffer out when
// fewer than 256 bytes are free; raw byte runs fill it piece by piece, writing it out each time it is full. A
// chunk's length is patched into its header when the chunk ends. The writer holds a reference on its stream.
// One thread at a time.
//
// Failure: every operation answers false when its bytes did not all reach the stream, and the writer is then
// not good. A chunk longer than a 32-bit length can say gets 0xFFFFFFFF and makes the writer not good; the
// writing still goes on, so the file closes normally.

#include <cstddef>
#include <cstdint>

#include "basic_types/zel_array.h"
#include "framework/object/iptr.h"
#include "host_api/binary_stream.h"

class ZelBinaryFileWriter {
 public:
  static constexpr size_t kBufferSize = 1024;
  // A typed value is preceded by a write-out when fewer bytes than this are free.
  static constexpr size_t kTypedReserve = 256;

  // A null stream is a failed assertion ("bo_"); such a writer writes nothing.
  explicit ZelBinaryFileWriter(IZelBinaryOutStream* stream);
  ZelBinaryFileWriter(const ZelBinaryFileWriter&) = delete;
  ZelBinaryFileWriter& operator=(const ZelBinaryFileWriter&) = delete;
  // Closes, when close was not called.
  ~ZelBinaryFileWriter();

  // Opens a chunk of a 24-bit type: the header word type·256 and a zero length of 4 bytes when the stream's
  // version is 1 to 9, else of 8 bytes. A type above 24 bits is refused.
  bool beginChunk(uint32_t type);
  // Patches the innermost open chunk's length. Without an open chunk: a failed assertion, and false.
  bool endChunk();

  bool writeU8(uint8_t value);
  bool writeU16(uint16_t value);
  bool writeU32(uint32_t value);
  bool writeI32(int32_t value);
  bool writeU64(uint64_t value);
  // The 8 IEEE-754 bytes, most significant first.
  bool writeDouble(double value);
  bool writeBytes(const void* bytes, uint64_t n);
  // Writes the buffer out.
  bool flush();
  // Ends every open chunk and writes the buffer out; answers good().
  bool close();

  bool good() const { return good_; }
  int32_t depth() const { return end_.count(); }
  // Bytes waiting in the buffer.
  size_t bufferedBytes() const { return count_; }

 private:
  bool writeBigEndian(uint64_t value, size_t bytes);
  bool lengthsAre32Bit() const { return version_ >= 1 && version_ <= 9; }
  uint64_t position() { return bo_->tell() + count_; }

  ZelCountedArray<uint64_t> end_;  // the start of each open chunk, innermost last
  IPtr<IZelBinaryOutStream> bo_;
  bool good_ = true;
  bool closed_ = false;
  int32_t version_ = 0;
  uint8_t buffer_[kBufferSize];
  size_t count_ = 0;
};
