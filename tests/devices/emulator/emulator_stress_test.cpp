#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <random>

#include "devices/emulator/emulator_input_handlers.h"
#include "tests/devices/emulator/emulator_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 1000;
// Only guards against a hang.
constexpr auto kStopDeadline = std::chrono::seconds(5);

// Starts and stops the emulator at random moments, with input arriving meanwhile, as a user who starts and
// ends acquisitions quickly would. Every stop must end its run in time, and every run must tell a whole
// story: a refused run one error, a run that went ahead its radius first and, on the continuous face, its
// end last.
class EmulatorStressThreads : public EmulatorTest {
 protected:
  std::mt19937 random_{20240611};

  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  void pause() { std::this_thread::sleep_for(std::chrono::microseconds(below(200))); }

  void someInput(bool continuousFace) {
    const int count = below(4);
    for (int i = 0; i < count; ++i) {
      const int kind = below(6);
      if (kind == 0) click(1, 2);
      if (kind == 1) press(kLiftKey);
      if (kind == 2) release(kLiftKey);
      // Ends a continuous run by itself, ahead of the device's stop.
      if (kind == 3 && continuousFace && below(3) == 0) press(kAlternateStopKey);
      if (kind >= 4) move(below(9) - 4, below(9) - 4);
      pause();
    }
  }

  static void expectWholeStory(DeviceEventRecorder& receiver, bool continuousFace) {
    Lines calls = receiver.calls();
    ASSERT_FALSE(calls.empty());
    if (calls[0] == "custom Error") {
      EXPECT_EQ(calls.size(), 1u) << "only a refused run starts with an error";
      return;
    }
    EXPECT_EQ(calls[0], "radius 0.003");
    EXPECT_EQ(calls.back() == "stop", continuousFace);
  }
};

struct Launched {
  bool continuousFace = false;
  IPtr<DeviceEventRecorder> receiver{new DeviceEventRecorder};
  std::optional<FaceRun> run;
};

TEST_F(EmulatorStressThreads, StartsAndStopsAtRandomMomentsNeverHangAndAlwaysEndWhole) {
  const Clock::time_point begin = Clock::now();
  int refused = 0;
  for (int i = 0; i < kRuns; ++i) {
    std::vector<Launched> launched(below(6) == 0 ? 2 : 1);
    launched[0].continuousFace = below(2) == 1;
    if (launched.size() == 2) launched[1].continuousFace = !launched[0].continuousFace;
    const bool stopFirst = below(5) == 0;
    for (Launched& l : launched) {
      if (stopFirst) l.continuousFace ? continuous()->stop() : single()->stop();
      l.continuousFace ? l.run.emplace(continuous(), l.receiver->continuous())
                       : l.run.emplace(single(), l.receiver->single());
    }
    if (below(3) != 0) {
      pause();
      someInput(launched[0].continuousFace);
    }
    for (Launched& l : launched) {
      const bool ended = stopFirst ? l.run->join(kStopDeadline) : l.run->stop(kStopDeadline);
      ASSERT_TRUE(ended) << "run " << i << " did not end";
      expectWholeStory(*l.receiver, l.continuousFace);
      refused += l.receiver->calls()[0] == "custom Error" ? 1 : 0;
    }
  }
  const auto seconds = std::chrono::duration<double>(Clock::now() - begin).count();
  std::printf("%d runs in %.2f s, %d refused while another ran\n", kRuns, seconds, refused);
  EXPECT_FALSE(plugin_->inputHandler()) << "no run is left published";
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), 6u);
}

}  // namespace
