#include "host/gui/host_sound_player.h"

#include <cstring>

#include "framework/object/query_chain.h"

namespace {

constexpr uint32_t kRiffHeaderSize = 12;  // "RIFF", the size of what follows, "WAVE"
constexpr uint32_t kChunkHeaderSize = 8;  // the chunk's id and the size of its body
constexpr uint32_t kPcmFormatSize = 16;
constexpr uint16_t kPcmFormat = 1;

uint32_t littleEndian32(const uint8_t* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool isId(const uint8_t* bytes, const char* id) {
  return std::memcmp(bytes, id, 4) == 0;
}

}  // namespace

bool HostSoundPlayer::isWave(const uint8_t* bytes, uint32_t size) {
  if (!bytes || size < kRiffHeaderSize || !isId(bytes, "RIFF") || !isId(bytes + 8, "WAVE")) return false;
  if (littleEndian32(bytes + 4) != size - kChunkHeaderSize) return false;
  bool pcm = false;
  bool data = false;
  // Each chunk's body is padded to an even length; the chunks must end exactly where the file does.
  uint64_t at = kRiffHeaderSize;
  while (at < size) {
    if (size - at < kChunkHeaderSize) return false;
    const uint8_t* chunk = bytes + at;
    const uint64_t body = littleEndian32(chunk + 4);
    if (isId(chunk, "fmt "))
      pcm = body >= kPcmFormatSize && at + kChunkHeaderSize + kPcmFormatSize <= size &&
            (chunk[8] | chunk[9] << 8) == kPcmFormat;
    if (isId(chunk, "data")) data = true;
    at += kChunkHeaderSize + body + (body & 1);
  }
  return at == size && pcm && data;
}

bool HostSoundPlayer::load(const uint8_t* bytes, uint32_t size) {
  sound_.clear();
  if (!isWave(bytes, size)) return false;
  sound_.assign(bytes, bytes + size);
  return true;
}

void HostSoundPlayer::play() {
  if (!sound_.empty()) ++plays_;
}

void HostSoundPlayer::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelSoundPlayer>(this).end();
}
