#pragma once

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

// The host's locale-aware string support. Texts are zero-terminated UTF-16.
class IZelStrSupport : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelStrSupport";

  virtual ZelCString toNarrow(const char16_t* text) = 0;
  // Negative, 0 or positive, as a is ordered before, with or after b.
  virtual int32_t compare(const char16_t* a, const char16_t* b) = 0;
  // Removes white space from the text in place.
  virtual void removeWhitespace(char16_t* text) = 0;
  // The number at the start of the text; *ok tells whether there was one (ok may be null).
  virtual double parse(const char16_t* text, bool* ok) = 0;
};
