// Class-id texts come from the host registry: any bytes must parse to some id, never crash or read past the
// end.

#include <cstddef>
#include <cstdint>
#include <string>

#include "basic_types/zel_id.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ZelID id = ZelID::fromString(text.c_str());
  (void)GUIDUtils::isValid(id);
  return 0;
}
