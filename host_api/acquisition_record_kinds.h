#pragma once

// What a replay handler ("ILogReplayer::ILogEventHandler") may also tell, asked of it by name: which of its
// kinds record an acquisition, so that the host can tell the acquisitions a replay never reached. A handler
// that does not answer records none.

#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

class IAcquisitionRecordKinds : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IAcquisitionRecordKinds";

  virtual bool recordsAcquisition(const ZelCString& kind) = 0;
};
