#pragma once

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

// The host's error service: shows the user an error message.
class IZelErrorService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelErrorService";

  virtual void report(const ZelString& message, int32_t severity, const ZelCString& context) = 0;
};
