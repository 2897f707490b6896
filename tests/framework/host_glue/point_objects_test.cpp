#include <gtest/gtest.h>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "support/module_fixture.h"

namespace {

using PointObjects = ModuleTest;

TEST_F(PointObjects, APointObjectIsANamedDocumentObjectWithAnEmptyArray) {
  IPtr<IZelDocObject> object = createPointObject(ZelString(u"Capture 1"));
  ASSERT_TRUE(object);
  EXPECT_EQ(std::u16string(object->objectName().c_str()), u"Capture 1");
  EXPECT_STREQ(object->objectType(), "Point");
  std::vector<IPtr<HostDocObject>> objects = host_.document().objects();
  ASSERT_EQ(objects.size(), 1u);
  auto* points = objects[0]->dataAs<IZelPoints>();
  ASSERT_NE(points, nullptr);
  ASSERT_NE(points->array(), nullptr);
  EXPECT_EQ(points->array()->count(), 0);
}

TEST_F(PointObjects, NoObjectWithoutTheBuilderOrTheArrayFactory) {
  host_.root().setService(IRealPArrayFactory::interfaceName, nullptr);
  EXPECT_FALSE(createPointObject(ZelString(u"Capture")));
  EXPECT_TRUE(host_.document().objects().empty());
}

TEST_F(PointObjects, RemovingAPointObjectTakesItOutOfTheDocument) {
  IPtr<IZelDocObject> object = createPointObject(ZelString(u"Capture"));
  removeObjectFromDocument(object.get());
  EXPECT_TRUE(host_.document().objects().empty());
  EXPECT_EQ(object->refCount(), 1u);
}

}  // namespace
