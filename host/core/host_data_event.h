#pragma once

// The stand-in host's data event (the service "IZelDataEvent", a new one per lookup): a name and a counted
// data object. Its own lock lets a worker fill it and the main thread read it without further care.

#include <mutex>
#include <string>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/main_application.h"

class HostDataEvent : public IZelDataEvent, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostDataEvent";

  void setName(const char* name) override;
  const char* name() override;
  void setData(IZelUnknown* data) override;
  IZelUnknown* data() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::string name_;        // guarded by mutex_
  IPtr<IZelUnknown> data_;  // guarded by mutex_
};
