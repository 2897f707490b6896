#pragma once

// A device object for tests of the registry: it notes "stop <name>" in a shared journal each time its
// acquisition is stopped.

#include <string>
#include <vector>

#include "devices/contracts/plugin_device.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

class JournalDevice : public IZelPluginDevice, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "JournalDevice";

  JournalDevice(std::string name, std::vector<std::string>& journal)
      : name_(std::move(name)), journal_(journal) {}

  bool connect() override { return false; }
  bool disconnect() override { return false; }
  bool startAcquisition() override { return false; }
  void stopAcquisition() override { journal_.push_back("stop " + name_); }
  void addReceiver(IZelPluginDataReceiver*) override {}
  void removeReceiver(IZelPluginDataReceiver*) override {}

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
        .offer<IZelPluginDevice>(this)
        .end();
  }
  const char* className() override { return interfaceName; }

 private:
  std::string name_;
  std::vector<std::string>& journal_;
};
