#pragma once

// A data-store receiver that ignores every callback; a class overrides the ones it acts on.

#include "host_api/data_store.h"

class ZelDataReceiverBase : public IZelDataReceiver {
 public:
  bool onNotify(const char*) override { return false; }
  bool onDataEvent(const char*, IZelUnknown*) override { return false; }
  bool onIntChanged(const char*, int32_t) override { return false; }
  bool onDoubleChanged(const char*, double) override { return false; }
  bool onObjectChanged(const char*, IZelUnknown*) override { return false; }
  bool onStringChanged(const char*, const ZelString&) override { return false; }
  bool onBlobChanged(const char*, const void*, uint32_t) override { return false; }
};
