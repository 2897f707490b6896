#pragma once

// Lets the plug-in managers use the module's replay plug-in while the host replays its log. One shared
// object, found by this interface name through the host. Main thread.

#include "host_api/zel_unknown.h"

class IZelPlugin;

class IZelPluginManagerLogReplayUtil : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginManagerLogReplayUtil";

  // True when the host is replaying and the replay plug-in and its record handler are ready. Each true answer
  // is matched by one finish.
  virtual bool start() = 0;
  // Ends what the matching start began; the last one ends the replay's use of the plug-in.
  virtual void finish() = 0;
  // The replay plug-in while a start is under way (no reference for the caller), else null.
  virtual IZelPlugin* replayPlugin() = 0;
  // Plays the host's log up to the next device data record, which becomes the starting acquisition's own;
  // when the log holds no more, that acquisition is given nothing to play.
  virtual void advanceToData() = 0;
};
