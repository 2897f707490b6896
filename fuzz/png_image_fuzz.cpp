// A plug-in's icon and a module's pictures reach the host as PNG bytes: any bytes must decode to a picture of
// the size it claims or be refused with a reason, never crash, read past the end or allocate without bound.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "host/gui/png_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  std::optional<DecodedImage> image = decodePng(data, size, error);
  if (image) {
    bool whole = image->width > 0 && image->height > 0 && image->width <= kLargestImageSide &&
                 image->height <= kLargestImageSide &&
                 image->rgba.size() == static_cast<size_t>(image->width) * image->height * 4;
    if (!whole) __builtin_trap();
  } else if (error.empty()) {
    __builtin_trap();
  }
  return 0;
}
