#include "framework/chunks/zel_binary_file_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "framework/memory/assertion.h"

namespace {

constexpr uint32_t kLargestType = 0xFFFFFF;
constexpr uint64_t kLargest32BitLength = 0xFFFFFFFF;
// The header word precedes the length.
constexpr int64_t kHeaderWordBytes = 4;
// Room for two open chunks before the array first grows.
constexpr int32_t kInitialDepthSlots = 2;

void encodeBigEndian(uint64_t value, size_t bytes, uint8_t* out) {
  for (size_t k = 0; k < bytes; ++k) out[k] = static_cast<uint8_t>(value >> (8 * (bytes - 1 - k)));
}

}  // namespace

ZelBinaryFileWriter::ZelBinaryFileWriter(IZelBinaryOutStream* stream)
    : end_(kInitialDepthSlots), bo_(stream) {
  if (!stream) {
    reportAssertion("bo_", "zelfile", 412);
    good_ = false;
    return;
  }
  version_ = stream->version();
}

ZelBinaryFileWriter::~ZelBinaryFileWriter() {
  if (!closed_) close();
}

bool ZelBinaryFileWriter::flush() {
  if (count_ == 0) return true;
  size_t pending = count_;
  count_ = 0;
  if (bo_ && bo_->write(buffer_, pending) == pending) return true;
  good_ = false;
  return false;
}

bool ZelBinaryFileWriter::writeBigEndian(uint64_t value, size_t bytes) {
  if (!bo_) return false;
  bool flushed = kBufferSize - count_ >= kTypedReserve || flush();
  encodeBigEndian(value, bytes, buffer_ + count_);
  count_ += bytes;
  return flushed;
}

bool ZelBinaryFileWriter::writeU8(uint8_t value) {
  return writeBigEndian(value, 1);
}
bool ZelBinaryFileWriter::writeU16(uint16_t value) {
  return writeBigEndian(value, 2);
}
bool ZelBinaryFileWriter::writeU32(uint32_t value) {
  return writeBigEndian(value, 4);
}
bool ZelBinaryFileWriter::writeI32(int32_t value) {
  return writeBigEndian(static_cast<uint32_t>(value), 4);
}
bool ZelBinaryFileWriter::writeU64(uint64_t value) {
  return writeBigEndian(value, 8);
}
bool ZelBinaryFileWriter::writeDouble(double value) {
  return writeBigEndian(std::bit_cast<uint64_t>(value), 8);
}

bool ZelBinaryFileWriter::writeBytes(const void* bytes, uint64_t n) {
  if (!bo_) return false;
  const auto* source = static_cast<const uint8_t*>(bytes);
  bool written = true;
  while (n > 0) {
    size_t piece = static_cast<size_t>(std::min<uint64_t>(n, kBufferSize - count_));
    std::memcpy(buffer_ + count_, source, piece);
    count_ += piece;
    source += piece;
    n -= piece;
    if (count_ == kBufferSize) written = flush() && written;
  }
  return written;
}

bool ZelBinaryFileWriter::beginChunk(uint32_t type) {
  if (!bo_ || type > kLargestType) {
    good_ = false;
    return false;
  }
  // The start is taken before the header goes into the buffer: endChunk patches the bytes after it.
  end_.append(position());
  bool header = writeU32(type << 8);
  return (lengthsAre32Bit() ? writeU32(0) : writeU64(0)) && header;
}

bool ZelBinaryFileWriter::endChunk() {
  if (end_.count() == 0) {
    reportAssertion("depth_ > 0", "zelfile", 468);
    return false;
  }
  uint64_t end = position();
  uint64_t start = end_.popBack();
  uint64_t length = end - start;
  bool positioned = flush() && bo_->seek(static_cast<int64_t>(start) + kHeaderWordBytes, BinarySeek::kBegin);
  size_t width = lengthsAre32Bit() ? 4 : 8;
  bool fits = width == 8 || length <= kLargest32BitLength;
  uint8_t field[8];
  encodeBigEndian(fits ? length : kLargest32BitLength, width, field);
  bool written = positioned && bo_->write(field, width) == width;
  bool returned = bo_->seek(static_cast<int64_t>(end), BinarySeek::kBegin);
  bool ok = written && fits && returned;
  if (!ok) good_ = false;
  return ok;
}

bool ZelBinaryFileWriter::close() {
  closed_ = true;
  while (end_.count() > 0) endChunk();
  flush();
  return good_;
}
