#pragma once

// The stand-in host's scene-graph nodes. Each node keeps its name, the nodes made under it (holding a
// reference on each) and what it was told, so tests can inspect it. The node factory (host_node_factory.h)
// makes them. Nodes belong to the host's main thread.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/gui/host_image.h"
#include "host_api/zel_itr.h"
#include "host_api/zel_matrix_nodes.h"
#include "host_api/zel_node_factory.h"
#include "host_api/zel_scene_node.h"

// What every node of the stand-in scene has; found through queryInterface by this name.
class HostNode {
 public:
  static constexpr const char* interfaceName = "HostNode";

  explicit HostNode(const char* name) : name_(name ? name : "") {}
  virtual ~HostNode() = default;

  const std::string& name() const { return name_; }
  const std::vector<IPtr<IZelUnknown>>& children() const { return children_; }
  void addChild(IZelUnknown* child) { insertChild(child, children_.size()); }
  // A child already held stays where it is.
  void insertChild(IZelUnknown* child, size_t index);
  bool removeChild(IZelUnknown* child);
  bool holds(IZelUnknown* child) const;
  void removeAllChildren() { children_.clear(); }

  bool visible() const { return visible_; }
  void setShown(bool visible) { visible_ = visible; }
  // Whether what the node draws counts when the host fits the view.
  bool inBounds() const { return inBounds_; }
  void setCountedInBounds(bool on) { inBounds_ = on; }
  // What the node was told, in words for "print scene"; empty for a node that holds nothing of its own.
  virtual std::string describe() const { return {}; }

 private:
  std::string name_;
  bool visible_ = true;
  bool inBounds_ = true;
  std::vector<IPtr<IZelUnknown>> children_;
};

class HostTextNode : public IZelText, public HostNode, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostTextNode";

  using HostNode::HostNode;

  void setText(const ZelString& text, const Vector3& anchor, double size, double offsetX,
               double offsetY) override;
  void setLabel(const ZelString& text, const Vector3& anchor, double size, double offsetX, double offsetY,
                int32_t anchorKind, int32_t pointSize) override;
  void setOnTop(bool on) override { onTop_ = on; }

  const ZelString& text() const { return text_; }
  int32_t anchorKind() const { return anchorKind_; }
  int32_t pointSize() const { return pointSize_; }
  bool onTop() const { return onTop_; }
  const ColorRGBA& color() const { return color_; }
  const ColorRGBA& background() const { return background_; }
  const Vector3& anchor() const { return anchor_; }
  double size() const { return size_; }
  double offsetX() const { return offsetX_; }
  double offsetY() const { return offsetY_; }
  void setFlags(uint32_t flags) override { flags_ = flags; }
  void setColors(const ColorRGBA& text, const ColorRGBA& background) override;
  uint32_t flags() const { return flags_; }
  std::string describe() const override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ZelString text_;
  Vector3 anchor_;
  double size_ = 0;
  double offsetX_ = 0;
  double offsetY_ = 0;
  uint32_t flags_ = 0;
  int32_t anchorKind_ = 0;
  int32_t pointSize_ = 0;
  bool onTop_ = false;
  ColorRGBA color_{1, 1, 1, 1};
  ColorRGBA background_{0, 0, 0, 0};
};

// A node that only holds others, as the document's scene root and its objects' nodes are.
class HostGroupNode : public IZelGroupNode, public virtual IZelNode, public HostNode, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGroupNode";

  using HostNode::HostNode;

  void setVisible(bool visible) override { setShown(visible); }
  void addChild(IZelNode* node) override { HostNode::addChild(node); }
  void insertChild(IZelNode* node, int32_t index) override;
  bool removeChild(IZelNode* node) override { return HostNode::removeChild(node); }
  void removeAllChildren() override { HostNode::removeAllChildren(); }
  void invalidate(int32_t) override { ++invalidations_; }

  // Host side: how often the group was marked as changed.
  int32_t invalidations() const { return invalidations_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int32_t> invalidations_{0};
};

// A separator drawn in a view only when its visibility source allows it there.
class HostVisibilitySensitiveNode : public HostGroupNode,
                                    public IZelSeparatorNode,
                                    public IZelVisibilitySensitiveNode {
 public:
  static constexpr const char* interfaceName = "HostVisibilitySensitiveNode";

  using HostGroupNode::HostGroupNode;

  void setVisibilitySource(IZelVisibilitySource* source) override { source_ = source; }
  void setInBounds(bool on) override { setCountedInBounds(on); }

  // Host side: whether the node is drawn in the view being drawn now.
  bool drawnInCurrentView();
  IZelVisibilitySource* source() const { return source_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelVisibilitySource> source_;
};

class HostDepthTestNode : public IZelDepthTestNode, public HostNode, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostDepthTestNode";

  using HostNode::HostNode;

  void setDepthTest(bool on) override { depthTest_ = on; }
  bool depthTest() const { return depthTest_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool depthTest_ = true;
};

// Places what follows it by the transform its source gives when the host draws.
class HostMatrixSourceNode : public IZelMatrixSourceNode, public HostNode, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostMatrixSourceNode";

  using HostNode::HostNode;

  void setMatrixSource(IZelMatrixSource* source) override { source_ = source; }

  // Host side: the transform as the host asks for it while drawing; the identity without a source.
  Matrix4x4 drawnMatrix();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelMatrixSource> source_;
};

class HostMatrixNode : public IZelMatrixNode, public HostNode, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostMatrixNode";

  using HostNode::HostNode;

  void setMatrix(const Matrix4x4& matrix) override { matrix_ = matrix; }
  const Matrix4x4& matrix() const { return matrix_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  Matrix4x4 matrix_;
};

// Draws an image at each vertex its iterator gives (see zel_image_itr.h), or the shapes it gives (see
// zel_primitive_itr.h).
class HostStaticIteratorNode : public IZelStaticIteratorNode, public HostNode, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostStaticIteratorNode";

  HostStaticIteratorNode(const char* name, IZelItr* iterator);

  void setInBounds(bool on) override { setCountedInBounds(on); }

  // One primitive of a shape as the node draws it.
  struct Primitive {
    int32_t type = 0;
    std::vector<Vector3> vertices;
    std::vector<Vector3> normals;
  };
  // Host side. The primitives of one frame of a shape iterator (IZelPrimitiveItr); none for another
  // iterator.
  std::vector<Primitive> drawPrimitives();
  // One frame as the host draws it: reset, begin, then every vertex; none when the iterator draws
  // no image or has nothing to draw. format is what begin gave, or -1.
  std::vector<Vector3> drawFrame(int32_t& format);
  // Only a reset starts a new frame: the vertices of another pass over the same frame.
  std::vector<Vector3> drawAgain(int32_t& format);
  IZelItr* iterator() const { return iterator_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelItr> iterator_;
};

class HostImageNode : public IZelImageNode, public HostNode, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostImageNode";

  using HostNode::HostNode;

  IZelImage* image() override { return image_.get(); }
  HostImage& hostImage() { return *image_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostImage> image_{new HostImage};
};
