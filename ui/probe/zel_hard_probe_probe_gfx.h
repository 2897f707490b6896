#pragma once

// Shows the hard probe in the host's 3-D view while a command runs: once attached, the probe follows the tip
// position and direction the devices "HardProbe" and "HardProbeContinuous" report. A command gets a new one
// per request, may give it the document object it works on, attaches it and fits the view once. Main thread
// only.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IZelDocObject;

class IZelHardProbeProbeGfx : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeProbeGfx";

  // The object under whose scene node the probe hangs (null: the scene root), drawn where the devices
  // report it however the object is placed; it takes effect at the next attach.
  virtual void setParentObject(IZelDocObject* object) = 0;
  // Does nothing while attached.
  virtual void attach() = 0;
  // Does nothing while detached.
  virtual void detach() = 0;
  // Passes a drawing option to the host's probe graphics and answers its reply; 0 while detached.
  virtual int32_t forwardToProbeGraphics(int32_t option, int32_t value) = 0;
  // Fits the view around the scene, with or without the probe.
  virtual void fitView(bool includeProbe) = 0;
};
