#pragma once

// The stand-in host's error service: records every error shown to the user (and echoes it on standard error),
// so tests and scripts can read them.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/zel_error_service.h"

class RecordingErrorService : public IZelErrorService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "RecordingErrorService";

  struct Report {
    std::u16string message;
    int32_t severity = 0;
    std::string context;
  };

  void report(const ZelString& message, int32_t severity, const ZelCString& context) override;
  std::vector<Report> reports();
  void clear();
  void setEcho(bool on);
  // Told each error once it is recorded, outside the lock, on the thread that shows it: the host's log keeps
  // the errors shown while it records. An empty function tells no one.
  void setWitness(std::function<void(const ZelString&)> witness);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::vector<Report> reports_;                    // guarded by mutex_
  bool echo_ = false;                              // guarded by mutex_
  std::function<void(const ZelString&)> witness_;  // guarded by mutex_
};
