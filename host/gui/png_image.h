#pragma once

// Decoding of PNG files into plain pixels, for the stand-in host's image store and any host service that
// takes a picture as PNG bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A picture as 8-bit RGBA samples (not premultiplied), rows from the top, four bytes per pixel.
struct DecodedImage {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgba;

  // The pixel at (x, y) as 0xRRGGBBAA; x and y must lie inside the picture.
  uint32_t pixel(uint32_t x, uint32_t y) const;
};

// The largest side a decoded picture may have: a PNG header may claim any size up to 2^31 - 1, and a host
// must not be talked into allocating gigabytes for an icon.
inline constexpr uint32_t kLargestImageSide = 4096;

// The picture in bytes[0 .. size), of any PNG colour type and depth, converted to 8-bit RGBA. Nothing, with
// the reason in error, for bytes that are no complete PNG file or a picture larger than kLargestImageSide.
std::optional<DecodedImage> decodePng(const void* bytes, size_t size, std::string& error);

// Writes the picture to the PNG file at path (a system path), replacing it once the whole picture is written
// (platform/file_replacement.h). False, with the reason in error and the file there as it was, for an empty
// picture, a path that names no regular file, or a file that cannot be written.
bool writePng(const DecodedImage& picture, const std::string& path, std::string& error);
