#pragma once

// ZelID: the 16-byte id of a class, an interface or a module, in GUID layout. The registry key of the
// component, the id by which the host creates objects, and the id stored beside data that must find its
// creator again: values never change once published.

#include <cstdint>

class ZelCString;
class ZelBinaryFileReader;
class ZelBinaryFileWriter;

struct ZelID {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};

  // The host registry's text form: up to eleven comma-separated hexadecimal fields, read as scanf's "%x"
  // reads them and cut to each field's width. Reading stops at the first missing field or the first field
  // without a number; the fields after it stay 0. A malformed text never fails loudly: callers test the
  // result with GUIDUtils::isValid.
  static ZelID fromString(const char* text);
  static ZelID fromString(const ZelCString& text);

  // The id's 16-byte form in a chunk file: data1, data2 and data3 big-endian, then the bytes of data4. The id
  // is set only when all 16 bytes arrive; the answer is the reader's state (true: good).
  bool read(ZelBinaryFileReader& reader);
  // Stops at the first value the writer fails to take; answers the writer's state.
  bool write(ZelBinaryFileWriter& writer) const;

  friend bool operator==(const ZelID&, const ZelID&) = default;
};

// The registry hashes an id by its first field alone.
inline uint32_t hashZelID(const ZelID& id) {
  return id.data1;
}

namespace GUIDUtils {
// True when the id differs from the null id in any field.
bool isValid(const ZelID& id);
}  // namespace GUIDUtils

// The null id, every field 0.
extern const ZelID nullZelID;
