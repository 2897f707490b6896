#pragma once

// Records the start of a device's acquisition in the host's log of the user's work, so that the session can
// be replayed without the device. Found by this interface name through the host; every lookup gives a new
// object. Main thread.

#include "basic_types/matrix4x4.h"
#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelPluginManagerLogRecordUtil : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginManagerLogRecordUtil";

  // When the host's logger records and no replay runs: writes the device transform, the name of a new
  // numbered device-event file beside the host's log and a wait mark into the log, and sets fileName to that
  // file's path. Otherwise writes nothing and leaves fileName as it is.
  virtual void record(const ZelCString& category, const Matrix4x4& deviceTransform, ZelString& fileName) = 0;
};
