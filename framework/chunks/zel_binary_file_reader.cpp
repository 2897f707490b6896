#include "framework/chunks/zel_binary_file_reader.h"

#include <bit>

#include "framework/memory/assertion.h"

namespace {

constexpr uint64_t kNarrowHeader = 8;
constexpr uint64_t kWideHeader = 12;
constexpr uint64_t kIdBytes = 16;
// Room for three open chunks before the array first grows.
constexpr int32_t kInitialDepthSlots = 3;

}  // namespace

ZelBinaryFileReader::ZelBinaryFileReader(IZelBinaryInStream* stream, bool ownsStream)
    : end_(kInitialDepthSlots), bi_(stream), ownsStream_(ownsStream) {
  if (stream) return;
  reportAssertion("bi_", "zelfile", 1021);
  good_ = false;
}

ZelBinaryFileReader::~ZelBinaryFileReader() {
  if (!ownsStream_ || !bi_) return;
  // The stream goes on after this reader: leave it at the end of the chunk being read, not inside it.
  if (end_.count() > 0) endChunk();
  bi_->close();
}

uint64_t ZelBinaryFileReader::currentEnd() {
  return end_.count() > 0 ? end_[end_.count()] : bi_->size();
}

uint64_t ZelBinaryFileReader::bytesLeftInChunk() {
  if (!good_ || !bi_) return 0;
  uint64_t end = currentEnd();
  uint64_t position = bi_->tell();
  return position < end ? end - position : 0;
}

bool ZelBinaryFileReader::readBytes(void* bytes, uint64_t n) {
  if (!good_ || !bi_) return false;
  if (n > bytesLeftInChunk() || bi_->read(bytes, n) != n) {
    good_ = false;
    return false;
  }
  return true;
}

bool ZelBinaryFileReader::readBigEndian(uint64_t& value, uint64_t bytes) {
  uint8_t raw[8];
  if (!readBytes(raw, bytes)) return false;
  value = 0;
  for (uint64_t k = 0; k < bytes; ++k) value = value << 8 | raw[k];
  return true;
}

bool ZelBinaryFileReader::readU16(uint16_t& value) {
  uint64_t wide = 0;
  if (!readBigEndian(wide, 2)) return false;
  value = static_cast<uint16_t>(wide);
  return true;
}

bool ZelBinaryFileReader::readU32(uint32_t& value) {
  uint64_t wide = 0;
  if (!readBigEndian(wide, 4)) return false;
  value = static_cast<uint32_t>(wide);
  return true;
}

bool ZelBinaryFileReader::readU64(uint64_t& value) {
  return readBigEndian(value, 8);
}

bool ZelBinaryFileReader::readDouble(double& value) {
  uint64_t bits = 0;
  if (!readBigEndian(bits, 8)) return false;
  value = std::bit_cast<double>(bits);
  return true;
}

bool ZelBinaryFileReader::read8Bytes(uint8_t (&bytes)[8]) {
  return readBytes(bytes, sizeof bytes);
}

bool ZelBinaryFileReader::reject(uint64_t start) {
  bi_->seek(static_cast<int64_t>(start), BinarySeek::kBegin);
  good_ = false;
  return false;
}

bool ZelBinaryFileReader::beginChunk() {
  if (!good_ || !bi_) return false;
  uint64_t start = bi_->tell();
  uint64_t limit = currentEnd();
  uint32_t word = 0;
  if (!readU32(word)) return reject(start);
  type_ = word >> 8;
  flag_ = static_cast<uint8_t>(word & 0xFF);
  if (type_ == kWidthChunkType && bi_->width() == 0) bi_->setWidth(flag_ ? 64 : 32);
  bool wide = bi_->width() == 64;
  uint64_t header = wide ? kWideHeader : kNarrowHeader;
  uint64_t length = 0;
  if (!readBigEndian(length, header - 4)) return reject(start);
  // Compared as lengths, so a huge claim cannot wrap around: the chunk must fit inside its parent.
  if (length < header || start > limit || length > limit - start) return reject(start);
  if (type_ == kIdChunkType && (length < header + kIdBytes || !id_.read(*this))) return reject(start);
  end_.append(start + length);
  return true;
}

void ZelBinaryFileReader::endChunk() {
  if (end_.count() == 0) {
    if (good_) reportAssertion("end_.size() > 0 || !good_", "zelfile", 1096);
    return;
  }
  uint64_t end = end_.popBack();
  if (!good_) return;
  good_ = bi_->seek(static_cast<int64_t>(end), BinarySeek::kBegin) && bi_->good();
}
