#pragma once

// The parts of the host's scene-graph nodes that the module moves about: any node can be shown or hidden, and
// a group node holds other nodes. A group holds a reference on each child while it is in it. Main thread
// only.

#include <cstdint>

#include "host/api/zel_unknown.h"

class IZelNode : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelNode";

  // A hidden node and everything under it is left out of the view.
  virtual void setVisible(bool visible) = 0;
};

class IZelGroupNode : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelGroupNode";

  // Appends node; a node already in the group stays where it is.
  virtual void addChild(IZelNode* node) = 0;
  // Puts node before the child at index (past the end: appends); a node already in the group stays.
  virtual void insertChild(IZelNode* node, int32_t index) = 0;
  // False when node is not a child of the group.
  virtual bool removeChild(IZelNode* node) = 0;
};
