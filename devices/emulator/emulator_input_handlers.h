#pragma once

// The input handlers of an emulation run: the view's mouse and key callbacks, on the host's main thread,
// turned into records in the run's queue. A pick puts the emulated tip centre one probe radius out from the
// picked surface along its normal; what is reported adds noise along the normal and, while the lift key is
// held, a lift of k times the radius (k = 2 / (sqrt(5) + 1)). The reported probe axis ("to") points into the
// surface. A pick that misses sends nothing and leaves the pose as it was.
//
// Single mode: a move reports the position; a click with the left or middle button samples a point, after a
// move a ball's radius short of it along the pick ray (an arm's travel into the touch, which tells the
// material's side); keys
// take the stop point, undo the last sampled point, or lift the tip off the surface.
// Continuous mode: a click starts or stops capturing; moves report positions, or sample oriented points while
// capturing; the stop keys end capturing and the whole run.
//
// The handler lives with its run and is called on the main thread only.

#include <cstdint>
#include <optional>

#include "basic_types/vector3.h"
#include "devices/emulator/emulator_plugin.h"
#include "host_api/view_input.h"

struct EmulationRun;
class EmulatorEventQueue;

// The host's key codes the emulator answers to.
inline constexpr int32_t kUndoKey = 280;
inline constexpr int32_t kStopKey = 293;
inline constexpr int32_t kAlternateStopKey = 296;
inline constexpr int32_t kLiftKey = 299;

class EmulatorPlugin::IEventHandler {
 public:
  IEventHandler() = default;
  IEventHandler(const IEventHandler&) = delete;
  IEventHandler& operator=(const IEventHandler&) = delete;
  virtual ~IEventHandler() = default;

  virtual void onMouseDown(IZelMouseData* mouse) = 0;         // view callback 4
  virtual void onMouseClick(IZelMouseData* mouse) = 0;        // 5
  virtual void onMouseDoubleClick(IZelMouseData* mouse) = 0;  // 6
  virtual void onMouseMove(IZelMouseData* mouse) = 0;         // 7
  virtual void onKeyPress(IZelKeyData* key) = 0;              // 9
  virtual void onKeyRelease(IZelKeyData* key) = 0;            // 10
};

// What both handlers share: every input ignored unless a handler takes it, and the geometry of a pick.
class EmulatorPlugin::EventHandlerBase : public IEventHandler {
 public:
  EventHandlerBase(EmulatorPlugin& parent, EmulationRun& run) : parent_(parent), run_(run) {}

  void onMouseDown(IZelMouseData*) override {}
  void onMouseClick(IZelMouseData*) override {}
  void onMouseDoubleClick(IZelMouseData*) override {}
  void onMouseMove(IZelMouseData*) override {}
  void onKeyPress(IZelKeyData*) override {}
  void onKeyRelease(IZelKeyData*) override {}

 protected:
  // The left and middle buttons sample; the right one does not.
  static bool isSamplingClick(IZelMouseData* mouse);
  // The second vector of the orthonormal basis about d, or zero for a direction too short to have one.
  static Vector3 up(const Vector3& d);

  // Picks under the mouse; on a hit, makes the tip centre over it the pose and answers the position to
  // report there.
  std::optional<Vector3> touchSurface(IZelMouseData* mouse);
  // The direction the probe came in along to the surface picked: the pick ray's (the pose's axis when the
  // mouse has no ray).
  Vector3 approachOf(IZelMouseData* mouse);
  // Where the ball was, one probe radius short of position along approach, as it travelled in.
  Vector3 travelledFrom(const Vector3& position, const Vector3& approach) const;
  // Reports the probe at position, along the pose's axis.
  void pushMovedTo(const Vector3& position);
  // k times the radius along v while lifted, else nothing.
  Vector3 lift(const Vector3& v) const;
  // (2u - m) times v, for a draw u up to the maximum noise m: even either way; nothing without random
  // numbers.
  Vector3 noise(const Vector3& v);

  ProbePose& pose() { return parent_.pose_; }
  EmulatorEventQueue& queue();

  bool lifted_ = false;  // while the lift key is held; every run starts on the surface

 private:
  EmulatorPlugin& parent_;
  EmulationRun& run_;
};

class EmulatorPlugin::HardProbeEventHandler : public EventHandlerBase {
 public:
  using EventHandlerBase::EventHandlerBase;

  void onMouseClick(IZelMouseData* mouse) override;
  void onMouseMove(IZelMouseData* mouse) override;
  void onKeyPress(IZelKeyData* key) override;
  void onKeyRelease(IZelKeyData* key) override;
};

class EmulatorPlugin::HardProbeContinuousEventHandler : public EventHandlerBase {
 public:
  using EventHandlerBase::EventHandlerBase;

  void onMouseClick(IZelMouseData* mouse) override;
  void onMouseMove(IZelMouseData* mouse) override;
  void onKeyPress(IZelKeyData* key) override;

 private:
  bool capturing_ = false;
};
