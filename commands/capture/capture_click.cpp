#include "commands/capture/capture_click.h"

#include <cstring>

namespace {

constexpr uint32_t kSamplesPerSecond = 11025;
constexpr uint16_t kChannels = 1;
constexpr uint16_t kBitsPerSample = 8;
constexpr uint16_t kPcmFormat = 1;

// A 2.2 kHz tone dying away within about 10 ms, around the 8-bit silence of 0x80.
constexpr std::array<uint8_t, 118> kSamples = {
    0x80, 0xE4, 0xBB, 0x47, 0x27, 0x80, 0xD1, 0xB0, 0x52, 0x38, 0x80, 0xC2, 0xA7, 0x5A, 0x46, 0x80, 0xB6,
    0xA0, 0x61, 0x51, 0x80, 0xAC, 0x9A, 0x67, 0x5A, 0x80, 0xA3, 0x95, 0x6C, 0x61, 0x80, 0x9D, 0x91, 0x70,
    0x67, 0x80, 0x97, 0x8E, 0x73, 0x6B, 0x80, 0x93, 0x8B, 0x75, 0x6F, 0x80, 0x8F, 0x89, 0x77, 0x72, 0x80,
    0x8C, 0x87, 0x79, 0x75, 0x80, 0x8A, 0x86, 0x7A, 0x77, 0x80, 0x88, 0x85, 0x7B, 0x79, 0x80, 0x87, 0x84,
    0x7C, 0x7A, 0x80, 0x85, 0x83, 0x7D, 0x7B, 0x80, 0x84, 0x83, 0x7D, 0x7C, 0x80, 0x84, 0x82, 0x7E, 0x7D,
    0x80, 0x83, 0x82, 0x7E, 0x7D, 0x80, 0x82, 0x81, 0x7F, 0x7E, 0x80, 0x82, 0x81, 0x7F, 0x7E, 0x80, 0x82,
    0x81, 0x7F, 0x7F, 0x80, 0x81, 0x81, 0x7F, 0x7F, 0x80, 0x81, 0x81, 0x7F, 0x7F, 0x80, 0x81, 0x80,
};

// The file, chunk by chunk: the RIFF header, the PCM format, a "fact" chunk with the sample count (which
// fills the file to its fixed size of 174 bytes) and the samples.
class WaveWriter {
 public:
  constexpr void id(const char (&text)[5]) {
    for (int i = 0; i < 4; ++i) byte(static_cast<uint8_t>(text[i]));
  }
  constexpr void u16(uint16_t value) {
    byte(value & 0xFF);
    byte(value >> 8);
  }
  constexpr void u32(uint32_t value) {
    u16(value & 0xFFFF);
    u16(value >> 16);
  }
  constexpr void byte(uint8_t value) { bytes[size++] = value; }

  std::array<uint8_t, kCaptureClickSize> bytes{};
  size_t size = 0;
};

constexpr WaveWriter writeClick() {
  constexpr uint32_t kFormatSize = 16;
  constexpr uint32_t kFactSize = 4;
  constexpr uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
  WaveWriter w;
  w.id("RIFF");
  w.u32(kCaptureClickSize - 8);
  w.id("WAVE");
  w.id("fmt ");
  w.u32(kFormatSize);
  w.u16(kPcmFormat);
  w.u16(kChannels);
  w.u32(kSamplesPerSecond);
  w.u32(kSamplesPerSecond * kBlockAlign);
  w.u16(kBlockAlign);
  w.u16(kBitsPerSample);
  w.id("fact");
  w.u32(kFactSize);
  w.u32(kSamples.size());
  w.id("data");
  w.u32(kSamples.size());
  for (uint8_t sample : kSamples) w.byte(sample);
  return w;
}

constexpr WaveWriter kClick = writeClick();
static_assert(kClick.size == kCaptureClickSize, "the click fills its file exactly");

}  // namespace

const std::array<uint8_t, kCaptureClickSize>& captureClick() {
  return kClick.bytes;
}

IPtr<IZelSoundPlayer> loadCaptureClick() {
  IPtr<IZelSoundPlayer> player;
  player.getService();
  if (player && !player->load(captureClick().data(), kCaptureClickSize)) player.release();
  return player;
}

void playCaptureClick(IZelSoundPlayer* player) {
  if (!player) return;
  player->stop();
  player->play();
}
