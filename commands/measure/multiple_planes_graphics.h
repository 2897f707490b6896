#pragma once

// The section planes drawn in the view while the "Multiple Sections" panel is active: a separator
// "MultiplePlanesWidget graphics" under the scene root holding the border colour and one node that draws a
// polygon per plane, the plane widget's rectangle moved along the normal onto each plane. The planes are
// computed anew each frame, so a change of the panel shows at the next redraw. Without the host's graphics
// document nothing is drawn. Main thread only.

#include <array>

#include "basic_types/vector3.h"
#include "commands/measure/multiple_planes_widget.h"
#include "framework/iterators/zel_itr_base.h"
#include "framework/object/iptr.h"
#include "host_api/zel_primitive_itr.h"
#include "host_api/zel_scene_node.h"

class MultiplePlanesWidget::Graphics {
 public:
  static constexpr const char* kSeparatorName = "MultiplePlanesWidget graphics";
  class Itr;

  explicit Graphics(MultiplePlanesWidget& widget);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

 private:
  IPtr<IZelGroupNode> root_;
  IPtr<IZelSeparatorNode> separator_;
  IPtr<Itr> iterator_;
};

// One closed outline per section plane, through the four corners of the owner's rectangle.
class MultiplePlanesWidget::Graphics::Itr : public ZelItrBase, public IZelPrimitiveItr {
 public:
  static constexpr const char* interfaceName = "MultiplePlanesWidget::Graphics::Itr";

  explicit Itr(MultiplePlanesWidget& widget) : widget_(&widget) {}
  // The widget is going away: nothing more is drawn.
  void detach() { widget_ = nullptr; }

  void reset() override;
  bool nextPrimitive(int32_t& kind) override;
  bool hasMoreVertices() override { return corner_ < static_cast<int32_t>(corners_.size()); }
  bool nextVertex(Vector3& vertex) override;
  bool vertexNormal(Vector3& normal) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  MultiplePlanesWidget* widget_;
  SectionPlaneList planes_;
  int32_t plane_ = 0;
  std::array<Vector3, 4> rectangle_{};  // the owner's, as it last gave it
  std::array<Vector3, 4> corners_{};    // on the current plane
  int32_t corner_ = 4;
};
