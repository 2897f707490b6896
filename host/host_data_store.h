#pragma once

// The stand-in host's data store: values by narrow key. A key never set reads as empty. Safe on any thread.

#include <mutex>
#include <string>

#include "framework/object/zel_unknown_impl.h"
#include "host/api/data_store.h"
#include "host/host_text.h"

class HostDataStore : public IDataStore, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HostDataStore";

  ZelString getString(const char* key) override;
  void setString(const char* key, const ZelString& text) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  HostTexts strings_;  // guarded by mutex_
};
