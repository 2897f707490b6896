#pragma once

// A yes-or-no attribute attached to a document object under the attribute's id (IZelDocObject::
// attachedObject). Main thread only.

#include "basic_types/zel_id.h"
#include "host_api/zel_unknown.h"

class IZelObjectAttribute : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelObjectAttribute";

  virtual bool check() = 0;
};

// Whether an object's features stay shown while a command aligns on the object; without the attribute they
// do.
inline constexpr ZelID kShowFeaturesWhileAligningAttributeId{
    0x2b1e54c9, 0x6a07, 0x4f1d, {0x9e, 0x83, 0x5c, 0x12, 0x7a, 0x4d, 0xe0, 0x36}};
