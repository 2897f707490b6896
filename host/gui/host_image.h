#pragma once

// The stand-in host's pictures for dialogs: HostImage, the fresh image every lookup of "IZelImage" answers,
// holding decoded pixels; and HostImageWriter, the shared decoder "IZelImageWriter", which reads PNG files
// into a HostImage through the host's PNG decoding. Both safe on any thread.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host/gui/png_image.h"
#include "host_api/zel_image.h"

class HostImage : public IZelImage, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostImage";

  uint32_t width() override;
  uint32_t height() override;

  // Host side: the picture, or nothing while none was decoded into the image.
  std::optional<DecodedImage> picture();
  void setPicture(DecodedImage picture);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::optional<DecodedImage> picture_;  // guarded by mutex_
};

class HostImageWriter : public IZelImageWriter, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostImageWriter";

  // Reads "PNG" only (the format name in any letter case).
  bool decode(IZelImage* image, const void* bytes, uint32_t byteCount, const char* format, int32_t option1,
              int32_t option2) override;

  // Host side: every refused decoding as its reason, in order, so a broken picture is seen rather than
  // silently missing.
  std::vector<std::string> refusals();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool refuse(const std::string& reason);

  std::mutex mutex_;
  std::vector<std::string> refusals_;  // guarded by mutex_
};
