#pragma once

// A host event as the stand-in host hands it to a receiver's onEvent: only its id.

#include "host/core/host_unknown.h"
#include "host_api/gui_receiver.h"

class HostEvent : public IHostEvent, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostEvent";

  explicit HostEvent(uint32_t id) : id_(id) {}

  uint32_t id() override { return id_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const uint32_t id_;
};
