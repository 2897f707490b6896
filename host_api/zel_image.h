#pragma once

// A picture the host can show (on a dialog button, for instance), and the host's decoder that fills one from
// file bytes. A module gets a fresh, empty image for every lookup of "IZelImage" and owns it; the decoder
// "IZelImageWriter" is one shared service. Safe on any thread, one image per thread at a time.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IZelImage : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelImage";

  // The picture's size in pixels; 0 by 0 while it holds none.
  virtual uint32_t width() = 0;
  virtual uint32_t height() = 0;
};

class IZelImageWriter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelImageWriter";

  // Decodes bytes[0 .. byteCount), a file of the format named ("PNG"), into image, replacing what it held.
  // The two options are the host's; modules pass 0. The decoder reads the bytes during the call only. False,
  // leaving the image as it was, for bytes that are no picture of that format, a format the host does not
  // read, or an image the host did not make.
  virtual bool decode(IZelImage* image, const void* bytes, uint32_t byteCount, const char* format,
                      int32_t option1, int32_t option2) = 0;
};
