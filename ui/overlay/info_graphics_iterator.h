#pragma once

// Places the overlay's image: after each reset of the frame, one pass yields one vertex, where the image's
// lower-left corner must stand for the image to end at the current view's right and top edges. A view with
// no area (a minimised window) yields none. The image is rendered again first when its source says so.

#include "framework/iterators/zel_itr.h"
#include "framework/object/iptr.h"
#include "host_api/gfx_view.h"
#include "host_api/zel_image_itr.h"
#include "host_api/zel_scene_node.h"
#include "ui/overlay/hard_probe_info_graphics.h"

class HardProbeInfoGraphics::Iterator : public ZelItr, public IZelImageItr {
 public:
  static constexpr const char* interfaceName = "Iterator";
  // The vertex layout of an image-carrying point, and the node's hint for such an iterator.
  static constexpr int32_t kImagePointFormat = 10;
  static constexpr int32_t kImageHint = 0x4010;

  Iterator();

  void setImageSource(ImageSource* source) { imageSource_ = source; }
  ImageSource* imageSource() const { return imageSource_.get(); }

  int32_t reset() override;
  bool begin(int32_t& format) override;
  bool hasNext() override { return vertexCount_ < 1; }
  bool next(Vector3& vertex) override;
  IZelImageNode* image() override { return imageNode_.get(); }

  // The image is drawn through the image walk above; the element walk has nothing.
  bool first(void*) override { return false; }
  bool next(void*, bool*) override { return false; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool anchor(Vector3& vertex);

  int32_t beginCount_ = 0;
  int32_t vertexCount_ = 0;
  IPtr<IZelImageNode> imageNode_;
  IPtr<ImageSource> imageSource_;
  IPtr<IGenGfxService> genGfxService_;
  IPtr<IGfxViewMgr> viewMgr_;
};
