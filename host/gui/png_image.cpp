#include "host/gui/png_image.h"

#include <png.h>

#include <cstring>

#include "platform/file_replacement.h"

namespace {

// Frees what libpng holds for the image on every way out, reading or writing.
class PngReading {
 public:
  PngReading() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  PngReading(const PngReading&) = delete;
  PngReading& operator=(const PngReading&) = delete;
  ~PngReading() { png_image_free(&image_); }

  png_image& image() { return image_; }
  std::string message() const { return image_.message[0] ? image_.message : "the bytes are no PNG image"; }

 private:
  png_image image_;
};

}  // namespace

uint32_t DecodedImage::pixel(uint32_t x, uint32_t y) const {
  const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

std::optional<DecodedImage> decodePng(const void* bytes, size_t size, std::string& error) {
  if (!bytes || size == 0) {
    error = "no bytes";
    return std::nullopt;
  }
  PngReading reading;
  png_image& image = reading.image();
  if (!png_image_begin_read_from_memory(&image, bytes, size)) {
    error = reading.message();
    return std::nullopt;
  }
  if (image.width == 0 || image.height == 0 || image.width > kLargestImageSide ||
      image.height > kLargestImageSide) {
    error = "a picture of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
            " pixels is larger than a host keeps";
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  DecodedImage decoded{image.width, image.height, std::vector<uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, decoded.rgba.data(), 0, nullptr)) {
    error = reading.message();
    return std::nullopt;
  }
  return decoded;
}

bool writePng(const DecodedImage& picture, const std::string& path, std::string& error) {
  if (picture.width == 0 || picture.height == 0 ||
      picture.rgba.size() != size_t{picture.width} * picture.height * 4) {
    error = "no picture to write";
    return false;
  }
  FileReplacement file(path);
  if (!file.stream()) {
    error = file.error();
    return false;
  }
  PngReading writing;
  png_image& image = writing.image();
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_stdio(&image, file.stream(), 0, picture.rgba.data(), 0, nullptr)) {
    error = path + ": " + writing.message();
    return false;
  }
  if (file.commit()) return true;
  error = file.error();
  return false;
}
