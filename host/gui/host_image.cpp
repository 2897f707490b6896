#include "host/gui/host_image.h"

#include <strings.h>

#include "framework/object/query_chain.h"

uint32_t HostImage::width() {
  std::lock_guard lock(mutex_);
  return picture_ ? picture_->width : 0;
}

uint32_t HostImage::height() {
  std::lock_guard lock(mutex_);
  return picture_ ? picture_->height : 0;
}

std::optional<DecodedImage> HostImage::picture() {
  std::lock_guard lock(mutex_);
  return picture_;
}

void HostImage::setPicture(DecodedImage picture) {
  std::lock_guard lock(mutex_);
  picture_ = std::move(picture);
}

void HostImage::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelImage>(this).end();
}

bool HostImageWriter::decode(IZelImage* image, const void* bytes, uint32_t byteCount, const char* format,
                             int32_t, int32_t) {
  if (!format || strcasecmp(format, "PNG") != 0) return refuse("the format is not PNG");
  void* part = nullptr;
  if (image) image->queryInterface(HostImage::interfaceName, &part, false);
  if (!part) return refuse("the image is not the host's");
  // Decoded before the image is touched, so a picture that fails leaves the image as it was.
  std::string error;
  std::optional<DecodedImage> decoded = decodePng(bytes, byteCount, error);
  if (!decoded) return refuse(error);
  static_cast<HostImage*>(part)->setPicture(std::move(*decoded));
  return true;
}

std::vector<std::string> HostImageWriter::refusals() {
  std::lock_guard lock(mutex_);
  return refusals_;
}

bool HostImageWriter::refuse(const std::string& reason) {
  std::lock_guard lock(mutex_);
  refusals_.push_back(reason);
  return false;
}

void HostImageWriter::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelImageWriter>(this).end();
}
