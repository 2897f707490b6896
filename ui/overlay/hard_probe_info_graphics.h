#pragma once

// The information overlay: an information tile drawn as an image pinned to the top-right corner of the 3-D
// view, in one view only of a multi-view layout. It is one shared object whose subgraph hangs under the
// scene root from its first request to the module's end: a separator the tile facade shows or hides, the
// depth test switched off, and a node drawing one image-carrying point that its iterator places each frame.
// At the module's end it takes the subgraph out, so the scene keeps none of the module's objects.
// Without an image source nothing is drawn. Main thread only.

#include <cstdint>

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_scene_node.h"

class IZelImage;

class HardProbeInfoGraphics : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeInfoGraphics";

  // What the overlay draws: an image rendered again whenever needsUpdate says so.
  class ImageSource : public virtual IZelUnknown {
   public:
    static constexpr const char* interfaceName = "HardProbeInfoGraphics::ImageSource";

    virtual bool needsUpdate() = 0;
    // Renders into image; answers success.
    virtual bool render(IZelImage* image) = 0;
  };
  class Iterator;
  class SingleFrameVisibilitySource;

  HardProbeInfoGraphics();
  ~HardProbeInfoGraphics() override;

  // Null when the host made no separator (no document graphics or node factory).
  IZelSeparatorNode* separator() const { return separator_.get(); }
  Iterator* iterator() const { return iterator_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelGroupNode> root_;
  IPtr<IZelSeparatorNode> separator_;
  IPtr<Iterator> iterator_;
};
