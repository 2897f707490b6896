#include "framework/host_glue/world_points_node.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_matrix_nodes.h"

namespace {

// The inverse of the object node's transform, asked for afresh at each draw. It holds the object it asks
// about; the reference cycle that makes through the object's node ends when the separator is taken out.
class WorldToObjectSource : public IZelMatrixSource, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "WorldToObjectSource";

  explicit WorldToObjectSource(IZelDocObject* object) : object_(object) {}

  void getMatrix(Matrix4x4& out) override {
    SPtr<IGfxDoc> graphics;
    Matrix4x4 objectToWorld;
    // A placement that cannot be undone leaves the points placed: there is no better place to draw them.
    if (!graphics || !graphics->objectNodeTransform(object_.get(), objectToWorld.m) ||
        !Matrix4x4::invert(objectToWorld, out))
      out = Matrix4x4::identity();
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelMatrixSource>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelDocObject> object_;
};

}  // namespace

WorldPointsNode::WorldPointsNode(IZelDocObject* object, const char* name, Place place) {
  SPtr<IGfxDoc> graphics;
  if (!graphics) return;
  IZelGroupNode* objectNode = object ? graphics->objectNode(object) : nullptr;
  parent_ = objectNode ? objectNode : graphics->sceneRoot();
  group_ = queryPart<IZelGroupNode>(createNode<IZelSeparatorNode>(nullptr, name));
  if (!parent_ || !group_) {
    group_.release();
    return;
  }
  if (objectNode) {
    if (auto* frame = createNode<IZelMatrixSourceNode>(group_.get(), "world"))
      frame->setMatrixSource(IPtr<IZelMatrixSource>(new WorldToObjectSource(object)).get());
  }
  IZelNode* hung = queryPart<IZelNode>(group_.get());
  if (place == Place::first)
    parent_->insertChild(hung, 0);
  else
    parent_->addChild(hung);
}

WorldPointsNode::~WorldPointsNode() {
  if (parent_ && group_) parent_->removeChild(queryPart<IZelNode>(group_.get()));
}
