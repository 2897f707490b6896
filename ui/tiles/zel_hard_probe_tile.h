#pragma once

// What the information tiles show while the operator probes. Every value is an item of the host data store's
// group "Palpera/Tile"; an operation names the item by a short name, which is not always the key's last word
// ("PointsTaken" is "Palpera/Tile/NumPointsTaken"). Names are exact and case-sensitive; an unknown name
// writes nothing. Main thread only.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelUserInstructions;

class IZelHardProbeTile : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeTile";

  // Fires "Palpera/Tile/Clear": the instructions tile empties itself.
  virtual void clear() = 0;
  virtual void setActive(bool on) = 0;
  // Shows or hides a rendered tile on the view's information overlay; a name the overlay does not know
  // (the instructions tile's among them) does nothing.
  virtual void showTile(const ZelCString& tileName, bool show) = 0;
  virtual void setInstructions(const char* item, IZelUserInstructions* instructions) = 0;
  virtual void setText(const char* item, const ZelString& text) = 0;
  virtual void setVector(const char* item, const double v[3]) = 0;
  virtual void setValue(const char* item, double value) = 0;
  // Counts as well as visibility flags.
  virtual void setFlag(const char* item, int32_t value) = 0;
};
