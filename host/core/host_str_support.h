#pragma once

// The stand-in host's string support. It orders texts by code unit (a plain dictionary order, unlike the
// module's own length-first fallback), converts to narrow text as UTF-8, treats the no-break space as white
// space too, and parses numbers from UTF-8 with the "C" locale.

#include "host/core/host_unknown.h"
#include "host_api/zel_str_support.h"

class HostStrSupport : public IZelStrSupport, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostStrSupport";

  ZelCString toNarrow(const char16_t* text) override;
  int32_t compare(const char16_t* a, const char16_t* b) override;
  void removeWhitespace(char16_t* text) override;
  double parse(const char16_t* text, bool* ok) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
