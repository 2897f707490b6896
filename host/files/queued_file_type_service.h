#pragma once

// The stand-in host's check of a save path: it accepts every path unless a refusal was queued, in which case
// it refuses once per refusal queued. Records the paths it was asked about. Safe on any thread.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/file_services.h"

class QueuedFileTypeService : public IFileTypeService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "QueuedFileTypeService";

  void queueRefusal();
  std::vector<std::u16string> asked();
  // Forgets the refusals and the paths asked about.
  void clear();

  int32_t acceptSavePath(const ZelString& path, int32_t kind, int32_t flags, bool ask) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  int32_t refusals_ = 0;               // guarded by mutex_
  std::vector<std::u16string> asked_;  // guarded by mutex_
};
