#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "commands/capture/capture_click.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "host/gui/host_sound_player.h"
#include "support/module_fixture.h"

namespace {

uint32_t u32At(const std::array<uint8_t, kCaptureClickSize>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST(CaptureClick, IsAWholeEightBitMonoPcmFileOf118SamplesAt11025PerSecond) {
  const auto& click = captureClick();
  ASSERT_TRUE(HostSoundPlayer::isWave(click.data(), kCaptureClickSize));
  EXPECT_EQ(std::memcmp(click.data(), "RIFF", 4), 0);
  EXPECT_EQ(u32At(click, 4), 166u);
  EXPECT_EQ(std::memcmp(click.data() + 12, "fmt ", 4), 0);
  EXPECT_EQ(click[20] | click[21] << 8, 1) << "PCM";
  EXPECT_EQ(click[22] | click[23] << 8, 1) << "one channel";
  EXPECT_EQ(u32At(click, 24), 11025u);
  EXPECT_EQ(u32At(click, 28), 11025u) << "bytes per second";
  EXPECT_EQ(click[34] | click[35] << 8, 8) << "bits per sample";
  EXPECT_EQ(std::memcmp(click.data() + kCaptureClickSize - 126, "data", 4), 0);
  EXPECT_EQ(u32At(click, kCaptureClickSize - 122), 118u);
  // A click, not silence: the first samples swing well away from 8-bit silence.
  EXPECT_GT(click[kCaptureClickSize - 117], 0xC0);
}

// The host's sound player refuses what is not a RIFF WAVE file whose chunks fill it exactly.
TEST(StandinSoundPlayer, RefusesFilesWhoseChunkSizesDoNotAddUp) {
  const auto& click = captureClick();
  std::vector<uint8_t> bytes(click.begin(), click.end());
  struct Damage {
    const char* what;
    size_t at;
    uint8_t value;
  };
  for (const Damage& damage :
       {Damage{"the RIFF size", 4, 167}, Damage{"the RIFF id", 0, 'X'}, Damage{"the WAVE id", 8, 'X'},
        Damage{"the format size", 16, 18}, Damage{"the format", 20, 3},
        Damage{"the data size", kCaptureClickSize - 122, 120},
        Damage{"the data id", kCaptureClickSize - 126, 'X'}}) {
    SCOPED_TRACE(damage.what);
    std::vector<uint8_t> damaged = bytes;
    damaged[damage.at] = damage.value;
    HostSoundPlayer player;
    EXPECT_FALSE(player.load(damaged.data(), static_cast<uint32_t>(damaged.size())));
    player.play();
    EXPECT_EQ(player.plays(), 0);
  }
  HostSoundPlayer player;
  EXPECT_FALSE(player.load(bytes.data(), kCaptureClickSize - 1)) << "cut short";
  EXPECT_FALSE(player.load(nullptr, kCaptureClickSize));
  EXPECT_FALSE(player.load(bytes.data(), 11));
  ASSERT_TRUE(player.load(bytes.data(), kCaptureClickSize));
  player.play();
  EXPECT_EQ(player.plays(), 1);
}

using CaptureClickPlayer = ModuleTest;

TEST_F(CaptureClickPlayer, LoadsTheClickIntoTheHostsPlayerAndRestartsItForEachPoint) {
  IPtr<IZelSoundPlayer> player = loadCaptureClick();
  ASSERT_TRUE(player);
  HostSoundPlayer& host = host_.gui().soundPlayer();
  EXPECT_EQ(host.sound(), std::vector<uint8_t>(captureClick().begin(), captureClick().end()));
  playCaptureClick(player.get());
  playCaptureClick(player.get());
  playCaptureClick(nullptr);
  EXPECT_EQ(host.plays(), 2);
  EXPECT_EQ(host.stops(), 2) << "a click still sounding is cut short first";
}

TEST_F(CaptureClickPlayer, WithoutAPlayerOrWithOneThatRefusesTheClickCapturesAreSilent) {
  // A player that takes no sound at all.
  struct Refusing : IZelSoundPlayer, ZelUnknownImpl {
    bool load(const uint8_t*, uint32_t) override { return false; }
    void stop() override {}
    void play() override {}
    void queryInterface(const char* name, void** out, bool) override {
      QueryChain(name, out).classLeaf("Refusing", this, this).offer<IZelSoundPlayer>(this).end();
    }
    const char* className() override { return "Refusing"; }
  };
  IPtr<Refusing> refusing(new Refusing);
  host_.root().setService(IZelSoundPlayer::interfaceName, static_cast<IZelSoundPlayer*>(refusing.get()));
  EXPECT_FALSE(loadCaptureClick());
  host_.root().setService(IZelSoundPlayer::interfaceName, nullptr);
  EXPECT_FALSE(loadCaptureClick());
}

}  // namespace
