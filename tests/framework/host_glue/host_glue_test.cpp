#include <gtest/gtest.h>

#include <cmath>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/unit_service.h"
#include "host/api/gfx_renderer.h"
#include "host/api/unit_service.h"
#include "support/module_fixture.h"

namespace {

class ReferenceObject : public ModuleTest {
 protected:
  HostGfxObject& addReference(const char16_t* name, int32_t displayMode) {
    IPtr<HostDocObject> reference = host_.document().add({"Mesh", name, std::nullopt, {}, {}}, false);
    reference->graphics().setDisplayMode(displayMode);
    return reference->graphics();
  }
};

TEST_F(ReferenceObject, IsShownInMode1AndThePreviousModeIsHandedBackUnlessMissingOrAlreadyThere) {
  addReference(u"Other", 4);
  EXPECT_FALSE(showReferenceObject().graphics);
  HostGfxObject& graphics = addReference(u"RefObject", 4);
  ShownReference shown = showReferenceObject();
  EXPECT_EQ(graphics.displayMode(), 1);
  ASSERT_TRUE(shown.graphics);
  EXPECT_EQ(shown.previousMode, 4);
  EXPECT_FALSE(showReferenceObject().graphics) << "already in mode 1: nothing to restore";
  shown.graphics->setDisplayMode(shown.previousMode);
  EXPECT_EQ(graphics.displayMode(), 4);
}

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

using UnitServiceGlue = ModuleTest;

TEST_F(UnitServiceGlue, AsksTheHostsUnitServiceElseAssumesUnit7AndFactor1) {
  host_.units().setCurrentLengthUnit(HostUnitService::kInch);
  EXPECT_EQ(UnitService::currentLengthUnit(), HostUnitService::kInch);
  EXPECT_DOUBLE_EQ(UnitService::unitFactor(HostUnitService::kInch), 1 / 0.0254);
  host_.root().setService(IUnitService::interfaceName, nullptr);
  EXPECT_EQ(UnitService::currentLengthUnit(), 7);
  EXPECT_EQ(UnitService::unitFactor(HostUnitService::kMillimetre), 1.0);
}

using RendererScopes = ModuleTest;

TEST_F(RendererScopes, NestedScopesOpenAndCloseBalancedBrackets) {
  {
    RendererScope outer;
    {
      RendererScope inner;
      EXPECT_EQ(host_.renderer().counts().depth, 2);
    }
    EXPECT_EQ(host_.renderer().counts().depth, 1);
    requestRedraw(false);
  }
  HostGfxRenderer::Counts counts = host_.renderer().counts();
  EXPECT_EQ(counts.depth, 0);
  EXPECT_EQ(counts.begins, 2);
  EXPECT_EQ(counts.ends, 2);
  EXPECT_EQ(counts.unmatchedEnds, 0);
  EXPECT_EQ(counts.redraws, 1);
}

}  // namespace
