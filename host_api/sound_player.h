#pragma once

// The host's sound player: plays a short sound the module carries in memory, such as the click of a capture.
// Main thread only.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IZelSoundPlayer : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelSoundPlayer";

  // Takes a copy of the size bytes of a whole RIFF WAVE file as the sound to play. False, keeping no sound,
  // for null bytes or bytes that are not such a file.
  virtual bool load(const uint8_t* bytes, uint32_t size) = 0;
  // Stops the sound if it is playing.
  virtual void stop() = 0;
  // Plays the loaded sound from its start, without waiting for it; nothing without a sound.
  virtual void play() = 0;
};
