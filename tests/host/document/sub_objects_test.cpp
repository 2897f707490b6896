#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host/api/zel_sub_objects.h"
#include "support/module_fixture.h"

namespace {

// A document object's sub-objects made and added as the module's commands do: a point value, queried as a
// feature, shown under a name.
class SubObjects : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    object_ = createPointObject(ZelString(u"Ref"));
    features_ = getFeatureSubObjectMgr(object_.get());
    subObjects_ = queryPart<IZelSubObjectMgr>(features_);
  }

  IPtr<IZelFeatureSubObject> make(double x) {
    IPtr<IZelPoint> point = createPoint();
    point->setPosition(x, 0, 0);
    IPtr<IZelFeatureSubObject> made;
    made.takeOwnership(features_->createSubObject(queryPart<IZelFeature>(point.get())));
    return made;
  }

  IPtr<IZelFeatureSubObject> add(const char16_t* name, double x) {
    IPtr<IZelFeatureSubObject> made = make(x);
    made->setName(ZelString(name));
    EXPECT_TRUE(subObjects_->addSubObject(made.get()));
    return made;
  }

  std::vector<std::u16string> names() {
    std::vector<std::u16string> names;
    for (int32_t i = 0; i < subObjects_->subObjectCount(); ++i)
      names.push_back(subObjects_->subObjectAt(i)->name().c_str());
    return names;
  }

  static double xOf(IZelFeature* feature) {
    double xyz[3] = {};
    queryPart<IZelPoint>(feature)->position(xyz);
    return xyz[0];
  }

  IPtr<IZelDocObject> object_;
  IZelFeatureSubObjectMgr* features_ = nullptr;
  IZelSubObjectMgr* subObjects_ = nullptr;
};

TEST_F(SubObjects, EveryDocumentObjectCarriesOneManagerAnsweringBothFaces) {
  ASSERT_NE(features_, nullptr);
  ASSERT_NE(subObjects_, nullptr);
  EXPECT_EQ(subObjects_->subObjectCount(), 0);
  EXPECT_EQ(getFeatureSubObjectMgr(object_.get()), features_) << "the same manager each time";
  EXPECT_EQ(features_->createSubObject(nullptr), nullptr);
}

TEST_F(SubObjects, APointValueIsAFeatureTheManagerShows) {
  IPtr<IZelPoint> point = createPoint();
  IZelFeature* feature = queryPart<IZelFeature>(point.get());
  ASSERT_NE(feature, nullptr);
  EXPECT_EQ(queryPart<IZelPoint>(feature), point.get()) << "one object serves as value and feature";
  IPtr<IZelFeatureSubObject> made;
  made.takeOwnership(features_->createSubObject(feature));
  ASSERT_TRUE(made);
  EXPECT_EQ(made->feature(), feature);
  EXPECT_EQ(made->objectId(), host_.document().doc().objects().at(0)->id());
  EXPECT_EQ(subObjects_->subObjectCount(), 0) << "made, not yet added";
}

TEST_F(SubObjects, SubObjectsAreIteratedInTheOrderAddedUntilRemoved) {
  IPtr<IZelFeatureSubObject> first = add(u"Point 1", 1), second = add(u"Point 2", 2),
                             third = add(u"Point 3", 3);
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Point 1", u"Point 2", u"Point 3"}));
  EXPECT_EQ(xOf(queryPart<IZelFeatureSubObject>(subObjects_->subObjectAt(2))->feature()), 3.0);
  EXPECT_EQ(subObjects_->subObjectAt(3), nullptr);
  EXPECT_EQ(subObjects_->subObjectAt(-1), nullptr);
  EXPECT_EQ(second->refCount(), 2u) << "the caller's reference and the manager's";

  EXPECT_TRUE(subObjects_->removeSubObject(second.get()));
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Point 1", u"Point 3"}));
  EXPECT_EQ(second->refCount(), 1u);
  EXPECT_FALSE(subObjects_->removeSubObject(second.get())) << "removed once";
  EXPECT_FALSE(subObjects_->removeSubObject(nullptr));
  EXPECT_TRUE(subObjects_->addSubObject(second.get())) << "a removed sub-object may come back, last";
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Point 1", u"Point 3", u"Point 2"}));
}

TEST_F(SubObjects, AManagerTakesOnlyItsOwnSubObjectsAndEachOnce) {
  IPtr<IZelFeatureSubObject> own = add(u"plane 1", 0);
  EXPECT_FALSE(subObjects_->addSubObject(own.get()));
  EXPECT_FALSE(subObjects_->addSubObject(nullptr));
  IPtr<IZelDocObject> other = createPointObject(ZelString(u"float"));
  auto* otherSubObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(other.get()));
  EXPECT_FALSE(otherSubObjects->addSubObject(own.get())) << "it belongs to another object";
  EXPECT_FALSE(otherSubObjects->removeSubObject(own.get()));
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"plane 1"}));
  IPtr<IZelFeatureSubObject> othersOwn;
  othersOwn.takeOwnership(getFeatureSubObjectMgr(other.get())->createSubObject(own->feature()));
  EXPECT_NE(othersOwn->objectId(), own->objectId());
}

TEST_F(SubObjects, ANewFeatureShowsAtTheNextRefresh) {
  IPtr<IZelFeatureSubObject> shown = add(u"Sphere Center 1", 1);
  auto* host = queryPart<HostFeatureSubObject>(shown.get());
  IPtr<IZelPoint> moved = createPoint();
  moved->setPosition(5, 0, 0);
  EXPECT_TRUE(shown->setFeature(queryPart<IZelFeature>(moved.get())));
  EXPECT_FALSE(shown->setFeature(nullptr));
  EXPECT_EQ(xOf(shown->feature()), 5.0);
  EXPECT_EQ(xOf(host->shownFeature()), 1.0);
  shown->refresh();
  EXPECT_EQ(xOf(host->shownFeature()), 5.0);
}

TEST_F(SubObjects, DisplayFlagsAreBitsSetAndClearedAlone) {
  IPtr<IZelFeatureSubObject> sub = add(u"Point 1", 0);
  EXPECT_FALSE(sub->displayFlag(4)) << "a new sub-object has every flag clear";
  sub->setDisplayFlag(4, true);
  sub->setDisplayFlag(1, true);
  sub->setDisplayFlag(4, false);
  EXPECT_EQ((std::vector{sub->displayFlag(1), sub->displayFlag(4), sub->displayFlag(5)}),
            (std::vector{true, false, false}));
}

}  // namespace
