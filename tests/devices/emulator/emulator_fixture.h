#pragma once

// The emulator as a hard-probe device drives it: the plug-in, the event manager the device makes for it,
// and each face's run on a worker thread of its own with a recording receiver. The reference model is a CAD
// box whose top face is the plane z = 0 around (1, 2, 0); input is injected through the stand-in host's
// view on the main (test) thread.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>

#include "devices/emulator/emulator_plugin.h"
#include "devices/emulator/emulator_plugin_event_manager.h"
#include "framework/object/iptr.h"
#include "host/cad/cad_model.h"
#include "host/cad/mesh_shapes.h"
#include "support/device_event_recorder.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"

// One face's run on its own thread, as a device's acquisition thread runs it. Stopped and waited for at the
// latest when it goes.
class FaceRun {
 public:
  template <class Face, class Target>
  FaceRun(Face* face, Target* target)
      : stopFace_([face] { face->stop(); }),
        ended_(std::async(std::launch::async, [face, target] { face->run(target); })) {}
  ~FaceRun() {
    if (hasEnded()) return;
    stopFace_();
    ended_.wait();
  }

  bool hasEnded(std::chrono::milliseconds within = std::chrono::milliseconds(0)) {
    return ended_.wait_for(within) == std::future_status::ready;
  }
  // Stops the face and answers whether its run returned within the time.
  bool stop(std::chrono::milliseconds within = std::chrono::seconds(5)) {
    stopFace_();
    return hasEnded(within);
  }
  // Waits for the run to return by itself.
  bool join(std::chrono::milliseconds within = std::chrono::seconds(5)) { return hasEnded(within); }

 private:
  std::function<void()> stopFace_;
  std::future<void> ended_;
};

class EmulatorTest : public ModuleTest {
 protected:
  static constexpr int32_t kLeft = 0, kMiddle = 1, kRight = 2;

  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    box_ = boxMesh({-5, -5, -1}, {5, 5, 0});
    reference_ = addCadModel(host_.document().doc(), u"RefObject", box_.get());
    // Without random numbers the emulated positions carry no noise.
    host_.root().setService("IZelRandom", nullptr);
    plugin_ = IPtr<EmulatorPlugin>(new EmulatorPlugin);
    manager_ = IPtr<EmulatorPluginEventManager>(new EmulatorPluginEventManager(plugin_.get()));
    ZelString error;
    single()->connect(error);
    continuous()->connect(error);
  }

  void TearDown() override {
    runs_.clear();
    manager_.release();
    plugin_.release();
    ModuleTest::TearDown();
  }

  IZelHardProbePlugin* single() { return plugin_.get(); }
  IZelHardProbeContinuousPlugin* continuous() { return plugin_.get(); }

  // Starts the face's run and waits until it has told the receiver the radius: its input handler is in
  // place from then on.
  FaceRun& startSingle(DeviceEventRecorder* r) { return start(single(), r->single(), r); }
  FaceRun& startContinuous(DeviceEventRecorder* r) { return start(continuous(), r->continuous(), r); }

  void move(double x, double y) {
    host_.scene().view().injectMouse(HostGfxViewMgr::MouseCallback::kMove, rayDownAt(x, y));
  }
  void click(double x, double y, int32_t button = kLeft) {
    MouseInput input = rayDownAt(x, y);
    input.button = button;
    host_.scene().view().injectMouse(HostGfxViewMgr::MouseCallback::kClick, input);
  }
  void press(int32_t key) { host_.scene().view().injectKey(HostGfxViewMgr::KeyCallback::kPress, key); }
  void release(int32_t key) { host_.scene().view().injectKey(HostGfxViewMgr::KeyCallback::kRelease, key); }

  static MouseInput rayDownAt(double x, double y) { return {kLeft, 0, 0, {x, y, 10}, {0, 0, -1}}; }

  IPtr<HostMesh> box_;
  IPtr<HostDocObject> reference_;
  IPtr<EmulatorPlugin> plugin_;
  IPtr<EmulatorPluginEventManager> manager_;
  std::vector<std::unique_ptr<FaceRun>> runs_;

 private:
  template <class Face, class Target>
  FaceRun& start(Face* face, Target* target, DeviceEventRecorder* receiver) {
    size_t before = receiver->calls().size();
    runs_.push_back(std::make_unique<FaceRun>(face, target));
    EXPECT_TRUE(receiver->waitForCalls(before + 1)) << "the run never told its radius";
    return *runs_.back();
  }
};
