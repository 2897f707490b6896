#pragma once

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

// What a replayer may also be told: the acquisitions of its log that the module could not play. A separate
// interface, asked of the replayer by name; a host's replayer that does not answer it is told nothing, and
// the module's word to the user is all there is. Any thread.
class ILogReplayerReports : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ILogReplayerReports";

  // An acquisition the log records could not be played (its event file missing, damaged or cut short, or no
  // device to play it on), for why: the replay does not reproduce the recording, whatever else it shows.
  virtual void reportUnplayedAcquisition(const ZelString& why) = 0;
};
