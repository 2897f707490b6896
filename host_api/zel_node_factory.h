#pragma once

// The host's scene-graph nodes and the factory that makes them by interface name. A node made under a parent
// belongs to that parent; a node made without one belongs to whoever takes the first reference on it.

#include <cstdint>

#include "basic_types/color.h"
#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelItr;
class ZelCString;

class IZelNodeFactory : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelNodeFactory";

  // A new node of the interface named, called name, added under parent (null: a node of its own). The node
  // comes back without a reference for the caller. Null for an interface the host makes no node of, or a
  // parent that is not one of the host's nodes.
  virtual IZelUnknown* createNode(const ZelCString* interfaceName, IZelUnknown* parent, const char* name) = 0;
  // The same for nodes that draw what an iterator gives; the node keeps the iterator.
  virtual IZelUnknown* createNodeWithIterator(const ZelCString* interfaceName, IZelUnknown* parent,
                                              const char* name, IZelItr* iterator) = 0;
};

// A text label in the scene.
class IZelText : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelText";

  // Shows text at anchor (world coordinates); the size and the two offsets place it, in the host's units.
  virtual void setText(const ZelString& text, const Vector3& anchor, double size, double offsetX,
                       double offsetY) = 0;
  // The host's switches of how the text is drawn (0: plain).
  virtual void setFlags(uint32_t flags) = 0;
  // A label placed as the host's datum labels are: the text at anchor, then the host's size (0: its default),
  // the two offsets from the anchor in label heights, the anchor kind and the point size of the font.
  virtual void setLabel(const ZelString& text, const Vector3& anchor, double size, double offsetX,
                        double offsetY, int32_t anchorKind, int32_t pointSize) = 0;
  // On: the label is drawn over the model, never hidden by it.
  virtual void setOnTop(bool on) = 0;
  // White on a clear background until set.
  virtual void setColors(const ColorRGBA& text, const ColorRGBA& background) = 0;
};
