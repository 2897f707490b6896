// The emulator probing a real CAD part: its picks are refined onto the exact surfaces, not the tessellation.

#include <gtest/gtest.h>

#include <cmath>
#include <mutex>

#include "support/emulator_ball.h"
#include "test_paths.h"
#include "tests/devices/emulator/emulator_fixture.h"

namespace {

// The bore of the example plate: diameter 20 mm about the vertical axis through (50, 40) mm.
constexpr double kBoreRadius = 0.01;
constexpr double kAxisX = 0.05, kAxisY = 0.04;

// Keeps the tips and directions of the moves as numbers.
class TipRecorder : public DeviceEventRecorder {
 public:
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override {
    {
      std::lock_guard lock(mutex_);
      tips_.push_back({point, to});
    }
    DeviceEventRecorder::onMoved(point, to, up);
  }
  std::vector<std::pair<Vector3, Vector3>> tips() {
    std::lock_guard lock(mutex_);
    return tips_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::pair<Vector3, Vector3>> tips_;
};

double fromAxis(const Vector3& p) {
  return std::hypot(p.x - kAxisX, p.y - kAxisY);
}

}  // namespace

using EmulatorOnCad = EmulatorTest;

TEST_F(EmulatorOnCad, ContactsOnABoreLieOnItsExactCylinderAndTipsOnTheRadiusLessTheProbes) {
  host_.document().doc().remove(reference_.get());
  reference_ = loadCadModel(host_.document().doc(), u"RefObject",
                            std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/plate-bore.step");
  IPtr<TipRecorder> receiver(new TipRecorder);
  FaceRun& run = startSingle(receiver.get());
  constexpr int kRays = 12;
  for (int i = 0; i < kRays; ++i) {
    // From the bore's axis out at an angle that falls between the tessellation's corners.
    const double angle = (i + 0.3) * 2 * M_PI / kRays;
    MouseInput ray{kLeft, 0, 0, {kAxisX, kAxisY, 0.005}, {std::cos(angle), std::sin(angle), 0}};
    host_.scene().view().injectMouse(HostGfxViewMgr::MouseCallback::kMove, ray);
  }
  ASSERT_TRUE(run.stop());
  const auto tips = receiver->tips();
  ASSERT_EQ(tips.size(), static_cast<size_t>(kRays));
  for (const auto& [tip, to] : tips) {
    SCOPED_TRACE(fromAxis(tip));
    EXPECT_NEAR(fromAxis(tip), kBoreRadius - kEmulatorBallRadius, 1e-9);
    // The probe points into the wall, radially out, and touches it one radius along.
    EXPECT_NEAR(to.z, 0, 1e-12);
    EXPECT_NEAR(fromAxis(tip + to * kEmulatorBallRadius), kBoreRadius, 1e-9);
    EXPECT_NEAR(fromAxis(tip + to), fromAxis(tip) + 1, 1e-9);
  }
}
