#pragma once

// The names of the records the module adds to the host's log, by short name ("data", "wait", "alignment"):
// the current kinds, which are written and replayed, and the legacy kinds, which are only replayed.

#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

class IZelPluginDeviceLogEventHandler : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDeviceLogEventHandler";

  // "PluginData", "PluginWait", "PluginAlignmentMatrix"; the empty text for any other short name. Valid while
  // the handler lives.
  virtual const ZelCString& recordKind(const ZelCString& shortName) = 0;
  // "HardProbeData", "HardProbeWait", "HardProbeAlignmentMatrix"; the empty text for any other short name.
  virtual const ZelCString& legacyRecordKind(const ZelCString& shortName) = 0;
};
