#pragma once

// The stand-in host's assertion handler: records every failed assertion, so tests can read them.

#include <mutex>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/zel_assert_handler.h"

class RecordingAssertHandler : public IZelAssertHandlerCB, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "RecordingAssertHandler";

  struct Report {
    std::string expression;
    std::string file;
    int line = 0;
  };

  void report(const char* expression, const char* file, int line) override;
  std::vector<Report> reports();
  void clear();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::vector<Report> reports_;  // guarded by mutex_
};
