#pragma once

// Records the start of a device's acquisition in the host's log: the device transform, the name of a new
// numbered event file beside the log (numbered per category by the host's counter "<category>DumpCounter",
// from 0 to 9999 and round again, skipping every name a file already has, so that no earlier session's
// file is written over) and a wait mark. With every name taken, the acquisition is not recorded, and the
// user and the log are told. The event file's path is in the separators the user gave the log's in. A new
// object per lookup, without state; main thread.

#include "devices/host_log/izel_plugin_manager_log_record_util.h"
#include "framework/object/zel_unknown_impl.h"

class PluginManagerLogRecordUtil : public IZelPluginManagerLogRecordUtil, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginManagerLogRecordUtil";

  void record(const ZelCString& category, const Matrix4x4& deviceTransform, ZelString& fileName) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
