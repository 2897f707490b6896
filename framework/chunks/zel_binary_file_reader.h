#pragma once

// ZelBinaryFileReader: reads nested chunks (chunk_format.md) from a host binary in-stream. beginChunk enters
// the chunk at the stream's position, endChunk skips whatever of it was not read, so a reader passes over
// chunk types it does not know by ending them right after entering them. The reader holds a reference on its
// stream. One thread at a time.
//
// The bytes come from outside and are checked: a header that is cut short, a length below the header's size,
// a chunk that would end past its parent (or past the data), an id chunk too short for its id, and a value
// that would cross the end of its chunk are all rejected. A rejected header leaves the stream at the chunk's
// start; any rejection leaves the reader not good, after which every beginChunk and read fails and endChunk
// only closes chunks.

#include <cstdint>

#include "basic_types/zel_array.h"
#include "basic_types/zel_id.h"
#include "framework/object/iptr.h"
#include "host_api/binary_stream.h"

class ZelBinaryFileReader {
 public:
  // "KVO": the first such chunk sets the stream's length width from its flag byte (non-zero: 64 bits).
  static constexpr uint32_t kWidthChunkType = 0x4B564F;
  // Its content begins with a class id, read on entering it.
  static constexpr uint32_t kIdChunkType = 0xB0002;

  // A null stream is a failed assertion ("bi_"); such a reader reads nothing. With ownsStream the reader,
  // when it goes, ends the chunk it is in (the stream is left at that chunk's end) and closes the stream.
  explicit ZelBinaryFileReader(IZelBinaryInStream* stream, bool ownsStream = false);
  ZelBinaryFileReader(const ZelBinaryFileReader&) = delete;
  ZelBinaryFileReader& operator=(const ZelBinaryFileReader&) = delete;
  ~ZelBinaryFileReader();

  // Enters the chunk at the stream's position; false when its header is rejected.
  bool beginChunk();
  // Leaves the innermost chunk, positioned at its end when the reader is good. Without an open chunk while
  // good: a failed assertion.
  void endChunk();
  // The bytes between the stream's position and the end of the innermost chunk (of the data at the top
  // level); 0 when not good or past that end.
  uint64_t bytesLeftInChunk();

  // The type and flag byte of the chunk entered last.
  uint32_t type() const { return type_; }
  uint8_t flag() const { return flag_; }
  // The id of the id chunk entered last.
  const ZelID& id() const { return id_; }

  bool readU16(uint16_t& value);
  bool readU32(uint32_t& value);
  bool readU64(uint64_t& value);
  bool readDouble(double& value);
  bool read8Bytes(uint8_t (&bytes)[8]);
  bool readBytes(void* bytes, uint64_t n);

  // False once anything was rejected or the stream failed.
  bool good() { return good_ && bi_ && bi_->good(); }
  int32_t depth() const { return end_.count(); }

 private:
  bool readBigEndian(uint64_t& value, uint64_t bytes);
  // The end of the innermost chunk, or of the data.
  uint64_t currentEnd();
  bool reject(uint64_t start);

  ZelCountedArray<uint64_t> end_;  // the end of each open chunk, innermost last
  IPtr<IZelBinaryInStream> bi_;
  uint32_t type_ = 0;
  uint8_t flag_ = 0;
  ZelID id_;
  bool good_ = true;
  bool ownsStream_;
};
