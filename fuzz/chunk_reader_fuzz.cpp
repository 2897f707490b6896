// Chunk files come from documents on disk: any bytes must be walked, values read and unknown chunks skipped
// without reading outside the data, looping, or leaving the reader positioned outside the chunk it is in.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/chunks/zel_binary_file_reader.h"
#include "host/document/host_binary_streams.h"

namespace {

// Deeper nesting than any document has; it bounds the recursion.
constexpr int kDeepest = 32;

void readValues(ZelBinaryFileReader& reader) {
  uint16_t small = 0;
  uint32_t word = 0;
  uint64_t wide = 0;
  double value = 0;
  uint8_t bytes[8];
  switch (reader.type() % 5) {
    case 0:
      reader.readU16(small);
      break;
    case 1:
      reader.readU32(word);
      break;
    case 2:
      reader.readU64(wide);
      break;
    case 3:
      reader.readDouble(value);
      break;
    default:
      reader.read8Bytes(bytes);
  }
}

void walk(ZelBinaryFileReader& reader, HostBinaryInStream& stream, int depth) {
  while (depth < kDeepest && reader.bytesLeftInChunk() > 0) {
    if (!reader.beginChunk()) return;
    if (reader.type() & 1) readValues(reader);
    walk(reader, stream, depth + 1);
    reader.endChunk();
    if (reader.good() && stream.tell() > stream.size()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  IPtr<HostBinaryInStream> stream(new HostBinaryInStream(std::vector<uint8_t>(data, data + size)));
  ZelBinaryFileReader reader(stream.get());
  walk(reader, *stream, 0);
  return 0;
}
