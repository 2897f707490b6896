#pragma once

// The host's rubber-band selection in the view. A command makes a selector for each mouse callback (every
// lookup by interface name hands out a fresh one); the band itself is the view's, so the selector of a
// release sees the band the selector of the press started. After an accepted release the selector picks
// the points of an object inside the band, numbered from 1 in the order the object's point iterators give
// them (the points of a static iterator node's "points" primitives, in scene order). Main thread only.

#include <cstdint>

#include "host_api/view_input.h"
#include "host_api/zel_unknown.h"

class BitVector;
class IZelDocObject;

class IZelSelector : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelSelector";

  // The pick kinds of a point selection.
  static constexpr int32_t kPointPick = 2;

  // Starts a band at the press; mode, kind and flags are the host's (a point band: 0, -1, 0). False without
  // the mouse data.
  virtual bool start(IGfxMouseData* mouse, int32_t mode, int32_t kind, int32_t flags) = 0;
  // Stretches the band to the pointer; false while no band is started.
  virtual bool follow(IGfxMouseData* mouse) = 0;
  // Ends the band at the release; false when no band was started.
  virtual bool accept(IGfxMouseData* mouse) = 0;
  // The corners of the band accepted last, in view coordinates.
  virtual void corners(double start[2], double end[2]) = 0;
  // The selection action of the band's button, as the theme names the mouse actions: 0 select, 1 unselect;
  // -1 for a button that selects nothing.
  virtual int32_t action() = 0;
  // Whether the accepted band holds points of object; if so, points gets their bits (from 1), others clear.
  virtual bool pick(int32_t kind, int32_t subKind, IZelDocObject* object, BitVector& points) = 0;
  // Drops the band without selecting.
  virtual void end() = 0;
};
