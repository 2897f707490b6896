#include <gtest/gtest.h>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "support/module_fixture.h"

namespace {

using PointObjects = ModuleTest;

TEST_F(PointObjects, APointObjectIsANamedDocumentObjectWithAnEmptyArrayUntilRemoved) {
  IPtr<IZelDocObject> object = createPointObject(ZelString(u"Capture 1"));
  ASSERT_TRUE(object);
  EXPECT_EQ(object->refCount(), 2u) << "the caller's reference and the document's";
  EXPECT_EQ(std::u16string(object->objectName().c_str()), u"Capture 1");
  EXPECT_STREQ(object->objectType(), "Point");
  double matrix[16];
  EXPECT_FALSE(object->transform(matrix));
  std::vector<IPtr<HostDocObject>> objects = host_.document().objects();
  ASSERT_EQ(objects.size(), 1u);
  auto* points = objects[0]->dataAs<IZelPoints>();
  ASSERT_NE(points, nullptr);
  ASSERT_NE(points->array(), nullptr);
  EXPECT_EQ(points->array()->count(), 0);
  EXPECT_EQ(points->array()->dimension(), 1);
  objects.clear();

  removeObjectFromDocument(object.get());
  EXPECT_TRUE(host_.document().objects().empty());
  EXPECT_EQ(object->refCount(), 1u) << "only the caller holds it now";
  SPtr<IZelObjectRemover> remover;
  EXPECT_FALSE(remover->removeObject(object.get(), 0, true)) << "an object leaves the document once";
}

TEST_F(PointObjects, NoObjectWithoutTheBuilderOrTheArrayFactory) {
  host_.root().setService(IRealPArrayFactory::interfaceName, nullptr);
  EXPECT_FALSE(createPointObject(ZelString(u"Capture")));
  EXPECT_TRUE(host_.document().objects().empty());
}

}  // namespace
