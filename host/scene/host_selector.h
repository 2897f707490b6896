#pragma once

// The stand-in view's rubber band and the selectors that drive it. The headless view has no camera: the
// band lies across the release's pick ray, its corners the press's and the release's ray origins seen along
// that ray, and a point is inside when it is seen between them. Main thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_selector.h"

class HostNode;

// The view's one band, shared by every selector the view hands out.
struct HostRubberBand {
  bool started = false;
  int32_t button = 0;
  Vector3 start;
  // The band accepted last: its far corner and the direction it is seen along.
  bool accepted = false;
  Vector3 end;
  Vector3 direction{0, 0, -1};
};

class HostSelector : public IZelSelector, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostSelector";

  explicit HostSelector(HostRubberBand& band) : band_(band) {}

  bool start(IGfxMouseData* mouse, int32_t mode, int32_t kind, int32_t flags) override;
  bool follow(IGfxMouseData* mouse) override;
  bool accept(IGfxMouseData* mouse) override;
  void corners(double start[2], double end[2]) override;
  int32_t action() override;
  bool pick(int32_t kind, int32_t subKind, IZelDocObject* object, BitVector& points) override;
  void end() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // A point's place in view coordinates.
  void place(const Vector3& point, double out[2]) const;
  // Numbers the points drawn under node from after number, setting the bits of those inside the band.
  void pickUnder(HostNode& node, int32_t& number, BitVector& points) const;

  HostRubberBand& band_;
};
