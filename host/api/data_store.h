#pragma once

#include "basic_types/zel_string.h"
#include "host/api/zel_unknown.h"

// The host's data store: every setting, run-time value and named event, by path-like narrow key
// ("General/...", "Directories/Temp Directory", "Palpera/..."). Safe on any thread.
class IDataStore : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IDataStore";

  // The stored wide text, or an empty string when the key holds none.
  virtual ZelString getString(const char* key) = 0;
  virtual void setString(const char* key, const ZelString& text) = 0;
};
