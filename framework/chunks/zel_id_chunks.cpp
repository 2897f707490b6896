// The chunk-file form of a class id: 16 bytes, data1 big-endian, data2 and data3 big-endian, then the eight
// bytes of data4 as they stand.

#include "basic_types/zel_id.h"
#include "framework/chunks/zel_binary_file_reader.h"
#include "framework/chunks/zel_binary_file_writer.h"

bool ZelID::read(ZelBinaryFileReader& reader) {
  uint32_t first = 0;
  uint16_t second = 0;
  uint16_t third = 0;
  uint8_t rest[8];
  if (!reader.readU32(first) || !reader.readU16(second) || !reader.readU16(third) ||
      !reader.read8Bytes(rest)) {
    return false;
  }
  data1 = first;
  data2 = second;
  data3 = third;
  for (int k = 0; k < 8; ++k) data4[k] = rest[k];
  return reader.good();
}

bool ZelID::write(ZelBinaryFileWriter& writer) const {
  if (!writer.writeU32(data1) || !writer.writeU16(data2) || !writer.writeU16(data3)) return false;
  for (uint8_t byte : data4) {
    if (!writer.writeU8(byte)) return false;
  }
  return writer.good();
}
