#pragma once

// The parts of the host's scene-graph nodes that the module moves about: any node can be shown or hidden, and
// a group node holds other nodes. A group holds a reference on each child while it is in it. Main thread
// only.

#include <cstdint>

#include "host_api/zel_unknown.h"

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
  // Lets go of every child.
  virtual void removeAllChildren() = 0;
  // Marks what the group draws as changed, so the view draws it again (what: the host's, 0 for all of it).
  virtual void invalidate(int32_t what) = 0;
};

// The root of a subgraph whose state changes stay inside it.
class IZelSeparatorNode : public virtual IZelNode {
 public:
  static constexpr const char* interfaceName = "IZelSeparatorNode";

  // Whether what the separator holds counts when the host fits the view around the scene (on when made).
  virtual void setInBounds(bool on) = 0;
};

// Decides, while the host draws a view, whether a node is drawn in it.
class IZelVisibilitySource : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelVisibilitySource";

  // Asked for the view being drawn (the view manager's current view).
  virtual bool isVisible() = 0;
  // Whether the node also takes part when the user picks in the view.
  virtual bool isPickable() = 0;
};

// A separator drawn only where its visibility source allows.
class IZelVisibilitySensitiveNode : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelVisibilitySensitiveNode";

  // The node holds a reference on the source; null: always drawn.
  virtual void setVisibilitySource(IZelVisibilitySource* source) = 0;
};

// Switches the depth test for what follows it under the same parent.
class IZelDepthTestNode : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDepthTestNode";

  virtual void setDepthTest(bool on) = 0;
};

// Draws what its iterator gives, the iterator being fixed when the node is made.
class IZelStaticIteratorNode : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelStaticIteratorNode";

  // Whether what the node draws counts when the host fits the view around the scene.
  virtual void setInBounds(bool on) = 0;
};

class IZelImage;

// Carries an image that the iterator node drawing it places in the view.
class IZelImageNode : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelImageNode";

  // The node's image, without a reference for the caller; it lives as long as the node.
  virtual IZelImage* image() = 0;
};
