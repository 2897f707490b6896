#include <gtest/gtest.h>

#include "basic_types/zel_cstring.h"
#include "framework/iterators/zel_itr_base.h"
#include "framework/object/host_lookup.h"
#include "host/scene/host_scene_nodes.h"
#include "support/module_fixture.h"

namespace {

using NodeFactory = ModuleTest;

HostNode* nodePart(IZelUnknown* node) {
  void* part = nullptr;
  node->queryInterface(HostNode::interfaceName, &part, false);
  return static_cast<HostNode*>(part);
}

TEST_F(NodeFactory, ATextNodeMadeUnderAParentBelongsToIt) {
  IPtr<IZelText> parent(createNode<IZelText>(nullptr, "labels"));
  ASSERT_TRUE(parent);
  IZelText* child = createNode<IZelText>(parent.get(), "node");
  ASSERT_NE(child, nullptr);
  const auto& children = nodePart(parent.get())->children();
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(children[0].get(), static_cast<IZelUnknown*>(child));
  EXPECT_EQ(nodePart(child)->name(), "node");
  EXPECT_EQ(child->refCount(), 1u) << "the parent's reference alone";
}

TEST_F(NodeFactory, AnUnknownInterfaceAForeignParentOrTheWrongOperationMakesNothing) {
  IZelNodeFactory& factory = host_.scene().nodeFactory();
  IPtr<IZelText> parent(createNode<IZelText>(nullptr, "labels"));
  IPtr<ZelItrBase> notANode(new ZelItrBase);
  ZelCString text(IZelText::interfaceName), empty(""), prefix("IZelTex"), noNodeKind(IZelItr::interfaceName);
  struct Case {
    const char* what;
    IZelUnknown* made;
  };
  for (const Case& refused : {
           Case{"no interface name", factory.createNode(nullptr, parent.get(), "n")},
           Case{"an empty name", factory.createNode(&empty, parent.get(), "n")},
           Case{"a prefix of a known name", factory.createNode(&prefix, parent.get(), "n")},
           Case{"an interface no node has", factory.createNode(&noNodeKind, parent.get(), "n")},
           Case{"a parent that is no node", factory.createNode(&text, notANode.get(), "n")},
           Case{"a text node drawing an iterator",
                factory.createNodeWithIterator(&text, parent.get(), "n", notANode.get())},
       }) {
    SCOPED_TRACE(refused.what);
    EXPECT_EQ(refused.made, nullptr);
  }
  EXPECT_TRUE(nodePart(parent.get())->children().empty());
}

}  // namespace
