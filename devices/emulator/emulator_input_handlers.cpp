#include "devices/emulator/emulator_input_handlers.h"

#include <cmath>

#include "devices/emulator/emulation_run.h"

namespace {

// How far, in probe radii, a held lift key raises the tip: the golden ratio's reciprocal.
const double kLiftFactor = 2.0 / (std::sqrt(5.0) + 1.0);

constexpr int32_t kLeftButton = 0;
constexpr int32_t kMiddleButton = 1;

bool isStopKey(int32_t code) {
  return code == kStopKey || code == kAlternateStopKey;
}

}  // namespace

bool EmulatorPlugin::EventHandlerBase::isSamplingClick(IZelMouseData* mouse) {
  int32_t button = mouse->button();
  return button == kLeftButton || button == kMiddleButton;
}

Vector3 EmulatorPlugin::EventHandlerBase::up(const Vector3& d) {
  Vector3 u, v;
  return Vector3::orthonormalBasis(d, u, v) ? v : Vector3();
}

EmulatorEventQueue& EmulatorPlugin::EventHandlerBase::queue() {
  return run_.queue;
}

Vector3 EmulatorPlugin::EventHandlerBase::lift(const Vector3& v) const {
  return lifted_ ? v * (kLiftFactor * run_.parameters.probeRadius) : Vector3();
}

Vector3 EmulatorPlugin::EventHandlerBase::noise(const Vector3& v) {
  if (!run_.random) return {};
  const double maxNoise = run_.parameters.maxNoise;
  return v * (2.0 * run_.random->uniform(maxNoise) - maxNoise);
}

std::optional<Vector3> EmulatorPlugin::EventHandlerBase::touchSurface(IZelMouseData* mouse) {
  std::optional<SurfaceHit> hit = run_.pick.pick(mouse);
  if (!hit) return std::nullopt;
  const Vector3& normal = hit->normal;
  const Vector3 centre = hit->point + normal * run_.parameters.probeRadius;
  pose() = {centre, -normal};
  return centre + noise(normal) + lift(normal);
}

Vector3 EmulatorPlugin::EventHandlerBase::approachOf(IZelMouseData* mouse) {
  double origin[3], direction[3];
  if (!mouse->pickRay(origin, direction)) return pose().direction;
  const Vector3 along = Vector3(direction[0], direction[1], direction[2]).normalized();
  return along.squaredLength() > 0 ? along : pose().direction;
}

Vector3 EmulatorPlugin::EventHandlerBase::travelledFrom(const Vector3& position,
                                                        const Vector3& approach) const {
  return position - approach * run_.parameters.probeRadius;
}

void EmulatorPlugin::EventHandlerBase::pushMovedTo(const Vector3& position) {
  const Vector3& direction = pose().direction;
  queue().pushMoved(position, direction, up(direction));
}

void EmulatorPlugin::HardProbeEventHandler::onMouseMove(IZelMouseData* mouse) {
  if (std::optional<Vector3> position = touchSurface(mouse)) pushMovedTo(*position);
}

void EmulatorPlugin::HardProbeEventHandler::onMouseClick(IZelMouseData* mouse) {
  if (!isSamplingClick(mouse)) return;
  std::optional<Vector3> position = touchSurface(mouse);
  if (!position) return;
  // An arm's ball travels into a touch along its approach, which tells the receivers on which side of the
  // surface the material lies: its last move before the touch lies a ball's radius back along the pick ray.
  const Vector3 approach = approachOf(mouse);
  queue().pushMoved(travelledFrom(*position, approach), approach, up(approach));
  queue().pushSampled(*position);
}

void EmulatorPlugin::HardProbeEventHandler::onKeyPress(IZelKeyData* key) {
  const int32_t code = key->keyCode();
  if (code == kUndoKey) {
    // The receiver sees the position again after it has dropped the last point.
    queue().pushCustom(ZelCString(IZelHardProbeDataReceiver::kUndoLastSampledEvent));
    pushMovedTo(pose().tip);
  } else if (isStopKey(code)) {
    queue().pushStop(pose().tip + lift(-pose().direction));
  } else if (code == kLiftKey && !lifted_) {
    lifted_ = true;
    pushMovedTo(pose().tip + lift(-pose().direction));
  }
}

void EmulatorPlugin::HardProbeEventHandler::onKeyRelease(IZelKeyData* key) {
  if (key->keyCode() != kLiftKey || !lifted_) return;
  lifted_ = false;
  pushMovedTo(pose().tip);
}

void EmulatorPlugin::HardProbeContinuousEventHandler::onMouseClick(IZelMouseData* mouse) {
  if (!isSamplingClick(mouse)) return;
  if (capturing_) {
    queue().pushStopCapture();
  } else {
    queue().pushStartCapture();
  }
  capturing_ = !capturing_;
}

void EmulatorPlugin::HardProbeContinuousEventHandler::onMouseMove(IZelMouseData* mouse) {
  std::optional<Vector3> position = touchSurface(mouse);
  if (!position) return;
  if (!capturing_) {
    pushMovedTo(*position);
    return;
  }
  const Vector3& direction = pose().direction;
  queue().pushSampledOriented(*position, direction, up(direction));
}

void EmulatorPlugin::HardProbeContinuousEventHandler::onKeyPress(IZelKeyData* key) {
  if (!isStopKey(key->keyCode())) return;
  if (capturing_) queue().pushStopCapture();
  queue().stop();
}
