#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "commands/plugin_dump/palpera_dump_cmd.h"
#include "host/command_runner.h"
#include "support/cerr_capture.h"
#include "tests/devices/devices/device_fixture.h"

namespace {

// The dump command over the module's own continuous device, fed by a test plug-in's acquisition on the
// device's worker thread.
class DumpOverDeviceThreads : public DeviceTest {
 protected:
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    DeviceTest::TearDown();
  }

  size_t linesPrinted(const CerrCapture& capture) {
    std::string text = capture.text();
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  }

  CommandRunner runner_{&host_.commandContainer(), &host_.dialog()};
};

TEST_F(DumpOverDeviceThreads, APlugInsEventsArePrintedInPartCoordinatesUntilTheCommandEnds) {
  using namespace steps;
  rateLimitOff();
  plugin_->setHardwareMatrix(Matrix4x4::translation({10, 0, 0}));
  plugin_->script().queue({radius(0.003), startCapture(), moved({1, 2, 3}),
                           sampled({0.5, 0, 2}, {0, 0, -1}, {0, 1, 0}), custom("Error"), stopCapture(),
                           stop()});
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaDumpCmd"));
  ASSERT_EQ(runner_.start(command.get()), CommandRunner::Start::kStarted);

  CerrCapture capture;
  ASSERT_TRUE(host_.dialog().pressButton(PalperaDumpCmd::kStartButton));
  ASSERT_TRUE(host_.mainLoop().runUntil([&] { return linesPrinted(capture) >= 7; }, std::chrono::seconds(5)))
      << capture.text();
  ASSERT_TRUE(runner_.cancel());
  host_.mainLoop().runPending();
  EXPECT_EQ(capture.text(),
            "setProbeRadius(0.003)\n"
            "onStartCapture()\n"
            "onMoved((11,2,3), (0,0,-1), (0,1,0))\n"
            "onPointSampled((10.5,0,2), (0,0,-1), (0,1,0))\n"
            "onCustomEvent(Error)\n"
            "onStopCapture()\n"
            "onStop()\n");
  EXPECT_EQ(plugin_->continuousFace().isConnected(), false) << "the command's end disconnects the plug-in";
}

}  // namespace
