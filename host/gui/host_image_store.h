#pragma once

// The stand-in host's image store (the service "IImageStore"): every picture added is decoded at once and
// kept by name as pixels, so tests and the command-line host can look at what a module registered. The first
// picture of a name stays: adding the name again is refused, as is a name without a picture that decodes.
// Each refusal is kept with its reason, so a broken icon is seen rather than silently missing. Safe on any
// thread.

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host/gui/png_image.h"
#include "host_api/image_store.h"

class HostImageStore : public IImageStore, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostImageStore";

  bool add(const char* name, const void* bytes, uint32_t byteCount) override;

  // Host side. The picture of that name, or nothing.
  std::optional<DecodedImage> image(const std::string& name);
  // The names of the pictures kept, in the order they were added.
  std::vector<std::string> names();
  // Every refused addition as "name: reason", in order.
  std::vector<std::string> refusals();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Notes why an addition was refused and answers false.
  bool refuse(const std::string& name, const std::string& reason);
  bool refuseLocked(const std::string& name, const std::string& reason);

  std::mutex mutex_;
  std::map<std::string, DecodedImage> images_;  // guarded by mutex_
  std::vector<std::string> order_;              // guarded by mutex_
  std::vector<std::string> refusals_;           // guarded by mutex_
};
