#pragma once

// The stand-in host's own commands ("IHostCommandService"). It knows "GenResetViewCmd", which gives every
// view of the graphics service the default view (normalised view coordinates are scene coordinates), and
// counts the runs of each command so a test can tell whether a module ran it. Main thread only, as the
// host's commands are.

#include <map>
#include <string>

#include "host/core/host_unknown.h"
#include "host/scene/host_gen_gfx_service.h"
#include "host_api/host_commands.h"

class HostCommandService : public IHostCommandService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCommandService";

  // graphics must outlive the service.
  explicit HostCommandService(HostGenGfxService& graphics) : graphics_(graphics) {}

  bool runCommand(const char* name) override;
  // How often the command of that name ran.
  int runs(const std::string& name) const;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  HostGenGfxService& graphics_;
  std::map<std::string, int> runs_;
};
