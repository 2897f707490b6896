#pragma once

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

// The host's directories by name ("temp": where temporary files go), in the module's backslash form.
class IZelDirService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDirService";

  // The directory, or an empty string for a name the host does not know.
  virtual ZelString directory(const char* name) = 0;
};
