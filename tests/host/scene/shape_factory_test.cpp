#include <gtest/gtest.h>

#include "framework/iterators/zel_itr_base.h"
#include "framework/object/iptr.h"
#include "host/scene/host_shape_factory.h"

namespace {

TEST(ShapeFactory, ATriadNeedsANodeOfTheSceneAsItsParent) {
  IPtr<HostShapeFactory> shapes(new HostShapeFactory);
  IPtr<ZelItrBase> notANode(new ZelItrBase);
  EXPECT_EQ(shapes->createCoordinateSystem(notANode.get(), 0, 1, 1, 1, 1, false, nullptr), nullptr);
  EXPECT_EQ(shapes->createCoordinateSystem(nullptr, 0, 1, 1, 1, 1, false, nullptr), nullptr);

  IPtr<HostGroupNode> parent(new HostGroupNode("parent"));
  IZelUnknown* triad = shapes->createCoordinateSystem(parent.get(), 2, 1, 1, 1, 1, true, nullptr);
  ASSERT_EQ(parent->children().size(), 1u);
  EXPECT_EQ(parent->children()[0].get(), triad);
  EXPECT_EQ(triad->refCount(), 1u) << "the parent's reference alone";
}

}  // namespace
