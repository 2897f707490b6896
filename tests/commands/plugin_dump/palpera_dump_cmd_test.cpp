#include <gtest/gtest.h>

#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "commands/plugin_dump/palpera_dump_cmd.h"
#include "tests/commands/support/command_fixture.h"

namespace {

using Journal = std::vector<std::string>;
using Start = CommandRunner::Start;

constexpr const char* kDevice = "HardProbeContinuous";
constexpr int32_t kStart = PalperaDumpCmd::kStartButton;
constexpr int32_t kStop = PalperaDumpCmd::kStopButton;

class PluginDataDump : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    device_ = addDevice(kDevice, "IZelHardProbeContinuousDataReceiver");
  }

  // What the command prints while the device hands its receivers events through R.
  template <class R, class Events>
  std::string printed(Events events) {
    std::ostringstream captured;
    std::streambuf* saved = std::cerr.rdbuf(captured.rdbuf());
    device_->deliver<R>(events);
    std::cerr.rdbuf(saved);
    return captured.str();
  }
  // Whether Start and Stop are enabled.
  std::pair<bool, bool> enabled() {
    return {dialog().control(kStart).value().enabled, dialog().control(kStop).value().enabled};
  }

  TestDevice* device_ = nullptr;
};

TEST_F(PluginDataDump, EveryEventOfEachKindIsOneLineInTheStreamsDefaultNumberFormat) {
  ASSERT_EQ(start("PalperaDumpCmd"), Start::kStarted);
  ASSERT_TRUE(press(kStart));
  std::cerr << std::scientific << std::setprecision(2);  // the command's lines do not follow the stream
  std::string lines =
      printed<IZelHardProbeContinuousDataReceiver>([](IZelHardProbeContinuousDataReceiver* r) {
        r->setProbeRadius(0.003);
        r->setProbeRadius(1e-07);
        r->onStartCapture();
        r->onMoved({1, 2, 3}, {0, 0, -1}, {0, 1, 0});
        r->onPointSampled({0.5, 0, 1234.56789}, {0, 0, -1}, {0, 1, 0});
        r->onStopCapture();
        r->onStop();
        r->onCustomEvent(ZelCString("Error"), nullptr);
        r->onCustomEvent(ZelCString(), nullptr);
      });
  std::cerr << std::defaultfloat << std::setprecision(6);
  EXPECT_EQ(lines,
            "setProbeRadius(0.003)\nsetProbeRadius(1e-07)\nonStartCapture()\n"
            "onMoved((1,2,3), (0,0,-1), (0,1,0))\nonPointSampled((0.5,0,1234.57), (0,0,-1), (0,1,0))\n"
            "onStopCapture()\nonStop()\nonCustomEvent(Error)\nonCustomEvent()\n");
  // The same receiver prints the single-point and scan-line events.
  EXPECT_EQ(printed<IZelHardProbeDataReceiverV2>([](IZelHardProbeDataReceiverV2* r) {
              r->onPointSampled({1, 2, 3});
              r->onPointStop({0.5, 0, 2});
            }),
            "onPointSampled((1,2,3))\nonPointStop((0.5,0,2))\n");
  std::vector<double> points(640 * 3);
  EXPECT_EQ(printed<IZelLaserScanDataReceiver>([&](IZelLaserScanDataReceiver* r) {
              r->onSampled({1, 2, 3}, {0, 0, -1}, {0, 1, 0}, points.data(), 640, 3);
              r->onStartCapture();
            }),
            "onSampled((1,2,3), (0,0,-1), (0,1,0), 640 points, stride: 3)\nonStartCapture()\n");
}

TEST_F(PluginDataDump, StartAndStopDriveAcquisitionSwapWhichButtonIsEnabledAndTheEndDisconnects) {
  ASSERT_EQ(start("PalperaDumpCmd"), Start::kStarted);
  EXPECT_EQ(journal_, (Journal{"connect HardProbeContinuous", "addReceiver HardProbeContinuous"}));
  EXPECT_EQ(dialog().control(kStart)->text, u"Start");
  EXPECT_EQ(dialog().control(kStop)->text, u"Stop");
  EXPECT_EQ(dialog().icon(PalperaDumpCmd::kStartIcon), "hp_start");
  EXPECT_EQ(dialog().icon(PalperaDumpCmd::kStopIcon), "hp_stop");
  EXPECT_FALSE(dialog().standardControlShown(IGuiDialog::kStandardControl2));
  EXPECT_EQ(dialog().openLayouts(), 0u);
  EXPECT_EQ(dialog().strayCalls(), 0);

  press(kStop);
  EXPECT_EQ(journal_, Journal{"stop HardProbeContinuous"}) << "Stop before Start stops an idle device";
  EXPECT_EQ(enabled(), std::pair(true, false));

  press(kStart);
  EXPECT_EQ(journal_, Journal{"start HardProbeContinuous"});
  EXPECT_EQ(enabled(), std::pair(false, true));

  journal_.clear();
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(journal_, (Journal{"removeReceiver HardProbeContinuous", "disconnect HardProbeContinuous"}))
      << "ending while acquiring unregisters the receiver before disconnecting";
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(PluginDataDump, AFailingOrMissingDeviceIsReportedAndLeavesTheButtonsUsable) {
  host_.gui().commandContainer().setInCommand(true);
  EXPECT_EQ(start("PalperaDumpCmd"), Start::kCannotRun) << "never inside another command";
  host_.gui().commandContainer().setInCommand(false);
  device_->answers.connect = false;
  EXPECT_EQ(start("PalperaDumpCmd"), Start::kActivationRefused);
  EXPECT_EQ(journal_, Journal{"connect HardProbeContinuous"});
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"Unable to connect to device."});

  device_->answers.connect = true;
  host_.gui().commandContainer().setRecordingMacro(true);
  ASSERT_EQ(start("PalperaDumpCmd"), Start::kStarted) << "but while a macro is recorded";
  EXPECT_EQ(std::u16string(command_->name()->c_str()), u"Plugin Data Dump");
  press(kStop);
  device_->answers.start = false;
  press(kStart);
  EXPECT_EQ(journal_, (Journal{"start HardProbeContinuous", "stop HardProbeContinuous"}))
      << "not left half started";
  EXPECT_EQ(enabled(), std::pair(true, false)) << "as they were";
  EXPECT_EQ(errorMessages().back(), u"Unable to start data acquisition.");
  device_->answers.start = true;
  EXPECT_TRUE(press(kStart)) << "Start can be pressed again";
  ASSERT_TRUE(runner_.cancel());

  registry_->setDevice(ZelCString(kDevice), nullptr);
  ASSERT_EQ(start("PalperaDumpCmd"), Start::kStarted);
  press(kStart);
  EXPECT_EQ(enabled(), std::pair(true, true));
  press(kStop);
  EXPECT_EQ(enabled(), std::pair(true, false));
  EXPECT_EQ(journal_, Journal{});
}

}  // namespace
