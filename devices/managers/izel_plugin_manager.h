#pragma once

// A plug-in manager chooses which of the device plug-ins the host has loaded drives one kind of device, and
// while the host replays a recorded log it puts the module's replay plug-in in that plug-in's place for as
// long as a device stays connected. Main thread only.
//
// Plug-in pointers carry no reference: the host's plug-in handler owns the loaded plug-ins and the replay
// utility owns the replay plug-in. A device whose worker thread runs a plug-in holds a reference of its own
// on it for as long as the thread runs.

#include "basic_types/matrix4x4.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelPlugin;

class IZelPluginManager : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginManager";

  // The plug-in in use now: the active one, or the replay plug-in during a replay; null when there is none.
  virtual IZelPlugin* currentPlugin() = 0;
  // The same; the operation the devices use.
  virtual IZelPlugin* activePlugin() = 0;
  // The user's choice (null allowed); false when it was not taken, and nothing changed.
  virtual bool setActivePlugin(IZelPlugin* plugin) = 0;
  // Whether the plug-in can serve this manager's kind of device.
  virtual bool acceptsPlugin(IZelPlugin* plugin) = 0;
  // A device's connect: while the host replays its log, the replay plug-in becomes current. Calls nest: each
  // is matched by one endReplay, and the last restores the plug-in the first displaced.
  virtual void beginReplay() = 0;
  virtual void endReplay() = 0;
  // A device's start of acquisition: records the start in the host's log when the host records one, and then
  // sets fileName to the file that is to receive the device's raw events; otherwise leaves it as it is.
  virtual void recordLog(const Matrix4x4& deviceTransform, ZelString& fileName) = 0;
  // Right after recordLog: lets a replay under way play the host's log up to this acquisition's device data.
  virtual void advanceReplay() = 0;
};
