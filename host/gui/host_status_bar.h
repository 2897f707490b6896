#pragma once

// The stand-in host's status bar (the service "IGuiStatusBar"): the help texts by owner, the latest shown.
// Main thread only.

#include <string>
#include <utility>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/gui_status_bar.h"

class HostStatusBar : public IGuiStatusBar, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostStatusBar";

  void setHelpText(IZelUnknown* owner, const ZelString& text) override;
  void clearHelpText(IZelUnknown* owner) override;
  // The text shown: the latest owner's; empty when none shows one.
  std::u16string shown() const { return texts_.empty() ? std::u16string() : texts_.back().second; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<std::pair<IZelUnknown*, std::u16string>> texts_;  // oldest owner first
};
