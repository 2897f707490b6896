#pragma once

// The stand-in host's directories by name, in the module's backslash form. "temp" starts as the system's
// temporary directory ($TMPDIR, else /tmp), "exe" as the directory of the running program, "files" (where
// the user's files go by default) as the directory the host started in; tests point them elsewhere. Safe on
// any thread.

#include <mutex>
#include <string>

#include "host/core/host_text.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_dir_service.h"

class HostDirService : public IZelDirService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostDirService";

  HostDirService();

  ZelString directory(const char* name) override;
  // systemPath is a path as the system writes it ("/tmp/x"); it is handed out as "\tmp\x".
  void setDirectory(const std::string& name, const std::string& systemPath);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  HostTexts directories_;  // guarded by mutex_
};
