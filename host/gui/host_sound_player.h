#pragma once

// The stand-in host's sound player (the service "IZelSoundPlayer"). The host is headless: it checks what it
// is given as a player must before it could play it, and counts what it was asked to do, so that tests see
// every click. Main thread only.

#include <cstdint>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/sound_player.h"

class HostSoundPlayer : public IZelSoundPlayer, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostSoundPlayer";

  // Accepts a RIFF WAVE file whose chunk sizes add up to exactly the bytes given, with a PCM format chunk
  // ("fmt ") and a "data" chunk; anything else is refused and the sound loaded before is dropped.
  bool load(const uint8_t* bytes, uint32_t size) override;
  void stop() override { ++stops_; }
  void play() override;

  // Host side.
  const std::vector<uint8_t>& sound() const { return sound_; }
  int32_t plays() const { return plays_; }
  int32_t stops() const { return stops_; }

  // Whether the bytes make a RIFF WAVE file as load accepts it.
  static bool isWave(const uint8_t* bytes, uint32_t size);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<uint8_t> sound_;
  int32_t plays_ = 0;
  int32_t stops_ = 0;
};
