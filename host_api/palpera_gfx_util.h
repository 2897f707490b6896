#pragma once

// The host's drawing of the hard probe: its graphics utility ("IGfxPalperaGfxUtil") makes probe objects,
// each drawing a probe of a given size at a given pose under the two nodes it hands out. Main thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host_api/zel_unknown.h"

class IGfxHardProbeGfx : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxHardProbeGfx";

  // Sets one of the host's drawing options of the probe (its colour, its style); answers the option's value
  // before, or 0 for an option the host does not know.
  virtual int32_t setDisplayOption(int32_t option, int32_t value) = 0;
  // The ball's radius, the shaft's radius and the shaft's length, in metres.
  virtual void setProbeSize(double size, double halfSize, double shaftLength) = 0;
  // The ball's centre and the direction from the ball up along the shaft.
  virtual void setPose(const Vector3& position, const Vector3& direction) = 0;
  // The node that draws the probe, and a second node the host draws around it; both without a reference for
  // the caller, living as long as the probe object.
  virtual IZelUnknown* probeNode() = 0;
  virtual IZelUnknown* auxiliaryNode() = 0;
};

class IGfxPalperaGfxUtil : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxPalperaGfxUtil";

  // A new probe object; the caller holds a reference on it. Null when the host cannot draw one.
  virtual IGfxHardProbeGfx* createHardProbeGfx() = 0;
};
