#pragma once

// The click the capture commands play for every point they take: a whole RIFF WAVE file carried in the
// module (PCM, one channel, 11025 samples per second, 8 bits per sample, 118 samples; 174 bytes). Main
// thread only, as the host's sound player is.

#include <array>
#include <cstddef>
#include <cstdint>

#include "framework/object/iptr.h"
#include "host_api/sound_player.h"

inline constexpr size_t kCaptureClickSize = 174;

// The file's bytes, as the host's sound player loads them.
const std::array<uint8_t, kCaptureClickSize>& captureClick();

// The host's sound player with the click loaded; empty without a player, or when the player refuses the
// click: captures are then silent.
IPtr<IZelSoundPlayer> loadCaptureClick();

// Cuts a click still sounding short and plays it again from its start; nothing without a player.
void playCaptureClick(IZelSoundPlayer* player);
