#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host_api/point_uniform_sampler.h"
#include "host_api/points.h"
#include "host_api/zel_doc.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

class Document : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    builder_.getService();
    arrays_.getService();
    document_.getService();
  }

  // A named object made through the builder and the array factory, as the module makes point objects.
  IPtr<IZelDocObject> build(const char16_t* name, bool unique) {
    IPtr<RealPArray> array;
    array.takeOwnership(arrays_->createArray(3, 16));
    IPtr<IZelPoints> points;
    points.getService();
    points->setArray(array.get());
    builder_->beginObject("Point", ZelString(name), unique);
    builder_->addData(points.get());
    IPtr<IZelDocObject> object;
    object.takeOwnership(builder_->endObject(true));
    return object;
  }

  IPtr<IZelObjectBuilder> builder_;
  IPtr<IRealPArrayFactory> arrays_;
  IPtr<IZelDoc> document_;
};

TEST_F(Document, UniqueNamesGetTheFirstFreeSuffixAndOthersMayRepeat) {
  for (bool unique : {true, true, true, false}) build(u"Scan", unique);
  std::vector<std::u16string> names;
  for (int32_t i = 0; i < document_->objectCount(); ++i)
    names.push_back(document_->objectAt(i)->objectName().c_str());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Scan", u"Scan 2", u"Scan 3", u"Scan"}));
  EXPECT_EQ(document_->objectAt(4), nullptr);
}

TEST_F(Document, AttachedObjectsAreFoundByTheirAttachmentId) {
  IPtr<HostDocObject> feature =
      host_.document().doc().add({"Plane", u"Plane 1", std::nullopt, {}, {}}, false);
  IPtr<CountedProbe> subObjects(new CountedProbe);
  ZelID id{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  feature->attach(id, subObjects.get());
  EXPECT_EQ(feature->attachedObject(id), static_cast<IZelUnknown*>(subObjects.get()));
  EXPECT_EQ(feature->attachedObject(ZelID{}), nullptr);
  feature->attach(id, nullptr);
  EXPECT_EQ(feature->attachedObject(id), nullptr);
  EXPECT_EQ(subObjects->refCount(), 1u);
}

TEST_F(Document, ARenamedAndMovedObjectIsFoundAsItIsNowAndABadTransformChangesNothing) {
  IPtr<IZelDocObject> floating = build(u"Scan", true);
  floating->setObjectName(ZelString(u"float"));
  EXPECT_EQ(document_->findObject(ZelString(u"Scan")), nullptr);
  double moved[16] = {1, 0, 0, 0.5, 0, 1, 0, -2, 0, 0, 1, 3, 0, 0, 0, 1}, bad[16] = {}, read[16] = {};
  ASSERT_TRUE(floating->setTransform(moved));
  bad[7] = std::nan("");
  EXPECT_FALSE(floating->setTransform(bad));
  EXPECT_FALSE(floating->setTransform(nullptr));
  ASSERT_TRUE(document_->findObject(ZelString(u"float"))->transform(read));
  EXPECT_EQ(std::vector<double>(read, read + 16), std::vector<double>(moved, moved + 16));
}

TEST_F(Document, VisibleIsTheOneSwitchOfAnObjectAndStartsOn) {
  IPtr<IZelDocObject> points = build(u"points", true);
  EXPECT_TRUE(points->property("Visible"));
  EXPECT_TRUE(points->setProperty("Visible", false));
  EXPECT_FALSE(points->property("Visible"));
  EXPECT_FALSE(points->setProperty("Active", true)) << "not a switch of the stand-in host's objects";
}

// Objects are listed from 0 and known by ids from 1 that a later object never takes over.
TEST_F(Document, ObjectsAreListedFromZeroAndFoundByIdsThatOutliveTheirRemoval) {
  IPtr<IZelDocObject> first = build(u"First", false), last = build(u"Last", false);
  EXPECT_EQ(document_->objectAt(0), first.get());
  EXPECT_EQ(document_->objectAt(1), last.get());
  EXPECT_FALSE(document_->objectAt(2) || document_->objectAt(-1)) << "one past either end";
  EXPECT_EQ(std::tuple(document_->objectId(first.get()), document_->objectId(last.get())), std::tuple(1, 2));
  EXPECT_EQ(document_->objectById(2), last.get());
  EXPECT_FALSE(document_->objectById(0) || document_->objectById(3));
  ASSERT_TRUE(document_->setActiveObject(first.get()) && document_->setCurrentObject(first.get()));
  SPtr<IZelObjectRemover> remover;
  remover->removeObject(first.get(), 0, true);
  EXPECT_FALSE(document_->activeObject() || document_->currentObject()) << "a removed object is neither";
  EXPECT_FALSE(document_->setActiveObject(first.get())) << "only an object of the document is chosen";
  EXPECT_EQ(document_->objectId(first.get()), 0);
  IPtr<IZelDocObject> later = build(u"Later", false);
  EXPECT_EQ(std::tuple(document_->objectById(1), document_->objectId(later.get())),
            std::tuple(static_cast<IZelDocObject*>(nullptr), 3));
}

}  // namespace

TEST_F(Document, ARegisteredNameFindsItsObjectBeforeOwnNamesUntilTheObjectIsRemoved) {
  HostDocument& doc = host_.document().doc();
  IPtr<HostDocObject> named = doc.add({"Point", u"TestObject", std::nullopt, {}, {}}, false);
  IPtr<HostDocObject> made = doc.add({"Point", u"Feature Object", std::nullopt, {}, {}}, false);
  IPtr<HostDocObject> outside(new HostDocObject(99, {"Point", u"Outside", std::nullopt, {}, {}}));
  EXPECT_FALSE(doc.registerObject(outside.get(), ZelString(u"TestObject"))) << "not in the document";
  EXPECT_EQ(doc.findObject(ZelString(u"TestObject")), named.get());
  ASSERT_TRUE(doc.registerObject(made.get(), ZelString(u"TestObject")));
  EXPECT_EQ(doc.findObject(ZelString(u"TestObject")), made.get());
  EXPECT_EQ(doc.findObject(ZelString(u"Feature Object")), made.get());
  doc.remove(made.get());
  EXPECT_EQ(doc.findObject(ZelString(u"TestObject")), named.get());
}

namespace {

TEST_F(Document, GroupsTakeOnlyGroupObjectsAndCurrentObjectsAddUpAndLeaveWithTheirObject) {
  IPtr<IZelDocObject> first = build(u"First", false);
  IPtr<IZelDocObject> second = build(u"Second", false);
  IZelDocObject* group = document_->createGroup(true);
  ASSERT_TRUE(group);
  EXPECT_STREQ(group->objectType(), "Group");
  EXPECT_TRUE(first->setGroup(group));
  EXPECT_FALSE(second->setGroup(first.get())) << "a point object is no group";
  EXPECT_EQ(host_.document().doc().objects()[0]->groupId(), document_->objectId(group));
  EXPECT_EQ(host_.document().doc().objects()[1]->groupId(), 0);

  EXPECT_TRUE(document_->setCurrentObject(first.get()));
  EXPECT_TRUE(document_->addCurrentObject(second.get()));
  EXPECT_TRUE(document_->addCurrentObject(second.get()));
  EXPECT_FALSE(document_->addCurrentObject(nullptr));
  EXPECT_EQ(host_.document().doc().currentObjects(),
            (std::vector<IZelDocObject*>{first.get(), second.get()}));
  host_.document().doc().remove(first.get());
  EXPECT_EQ(document_->currentObject(), second.get());
}

TEST_F(Document, TheSamplerKeepsOnePointACellOfAnOpenSetOnly) {
  IPtr<IZelPoints> points;
  points.getService();
  IPtr<RealPArray> array;
  array.takeOwnership(arrays_->createArray(3, 16));
  points->setArray(array.get());
  for (double x : {0.0, 0.1, 0.45, 0.55, 1.0}) {
    const double p[3] = {x, 0, 0};
    points->appendPoint(p, 0, true);
  }
  IPtr<IPointUniformSampler> sampler;
  sampler.getService();
  ASSERT_TRUE(sampler);
  sampler->setPoints(points.get());
  sampler->setRelativeSpacing(0.5);
  EXPECT_FALSE(sampler->run()) << "a closed set";
  points->open();
  EXPECT_TRUE(sampler->run());
  double p[3];
  std::vector<double> kept;
  for (int32_t i = 1; points->pointAt(i, p); ++i) kept.push_back(p[0]);
  EXPECT_EQ(kept, (std::vector<double>{0.0, 0.55, 1.0})) << "cells [0, 0.5), [0.5, 1), [1, 1.5)";
  sampler->setRelativeSpacing(HUGE_VAL);
  EXPECT_TRUE(sampler->run());
  EXPECT_EQ(points->pointCount(), 1);
  sampler->setRelativeSpacing(0);
  EXPECT_FALSE(sampler->run());
}

}  // namespace
