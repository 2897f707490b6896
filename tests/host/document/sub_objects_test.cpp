#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host/document/host_feature_sub_object_mgr.h"
#include "support/module_fixture.h"

namespace {

// Sub-objects made as the module's point lists make them: for a point value queried as a feature, by a
// point object's feature sub-object manager.
class SubObjects : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    features_ = getFeatureSubObjectMgr(createPointObject(ZelString(u"Ref")).get());
    subObjects_ = queryPart<IZelSubObjectMgr>(features_);
    ASSERT_TRUE(features_ && subObjects_) << "one manager answers both";
  }

  static IPtr<IZelFeatureSubObject> make(IZelFeatureSubObjectMgr* features, const char16_t* name = u"") {
    IPtr<IZelFeatureSubObject> made;
    made.takeOwnership(features->createSubObject(queryPart<IZelFeature>(createPoint().get())));
    made->setName(ZelString(name));
    return made;
  }

  std::vector<std::u16string> names() {
    std::vector<std::u16string> names;
    for (int32_t i = 0; i < subObjects_->subObjectCount(); ++i)
      names.push_back(subObjects_->subObjectAt(i)->name().c_str());
    return names;
  }

  IZelFeatureSubObjectMgr* features_ = nullptr;
  IZelSubObjectMgr* subObjects_ = nullptr;
};

TEST_F(SubObjects, AreIteratedInTheOrderAddedUntilRemoved) {
  std::vector<IPtr<IZelFeatureSubObject>> made;
  for (const char16_t* name : {u"Point 1", u"Point 2", u"Point 3"}) {
    made.push_back(make(features_, name));
    EXPECT_TRUE(subObjects_->addSubObject(made.back().get()));
  }
  EXPECT_EQ(subObjects_->subObjectAt(3), nullptr);
  EXPECT_TRUE(subObjects_->removeSubObject(made[1].get()));
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Point 1", u"Point 3"}));
  EXPECT_EQ(made[1]->refCount(), 1u) << "the manager let go of it";
  EXPECT_FALSE(subObjects_->removeSubObject(made[1].get())) << "removed once";
  EXPECT_TRUE(subObjects_->addSubObject(made[1].get())) << "and may come back, last";
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Point 1", u"Point 3", u"Point 2"}));
}

TEST_F(SubObjects, AManagerTakesOnlyItsOwnSubObjectsAndEachOnce) {
  IPtr<IZelFeatureSubObject> own = make(features_);
  EXPECT_EQ(subObjects_->subObjectCount(), 0) << "made, not yet added";
  EXPECT_TRUE(subObjects_->addSubObject(own.get()));
  EXPECT_FALSE(subObjects_->addSubObject(own.get()));
  EXPECT_FALSE(subObjects_->addSubObject(nullptr));
  EXPECT_EQ(features_->createSubObject(nullptr), nullptr);
  IZelFeatureSubObjectMgr* others = getFeatureSubObjectMgr(createPointObject(ZelString(u"float")).get());
  EXPECT_FALSE(queryPart<IZelSubObjectMgr>(others)->addSubObject(own.get()));
  EXPECT_EQ(std::vector({own->objectId(), make(others)->objectId()}), std::vector({1, 2}))
      << "each names the document object it belongs to";
}

// The picker highlights through the sub-object's owner manager; a removed sub-object is neither owned nor
// highlighted any more, so nothing is left pointing at it.
TEST_F(SubObjects, TheOwnerHighlightsOneOfItsOwnAtATimeUntilItIsRemoved) {
  IPtr<IZelFeatureSubObject> first = make(features_), second = make(features_), loose = make(features_);
  EXPECT_EQ(first->ownerManager(), nullptr) << "not yet added";
  subObjects_->addSubObject(first.get());
  subObjects_->addSubObject(second.get());
  ASSERT_EQ(first->ownerManager(), subObjects_);
  auto* host = queryPart<HostFeatureSubObjectMgr>(features_);
  EXPECT_TRUE(first->ownerManager()->highlight(first.get()));
  EXPECT_TRUE(second->ownerManager()->highlight(second.get()));
  EXPECT_EQ(host->highlighted(), second.get()) << "one at a time";
  EXPECT_FALSE(subObjects_->highlight(loose.get())) << "not one of its own";
  EXPECT_EQ(host->highlighted(), second.get());
  subObjects_->removeSubObject(second.get());
  EXPECT_EQ(host->highlighted(), nullptr);
  EXPECT_EQ(second->ownerManager(), nullptr);
  subObjects_->highlight(first.get());
  subObjects_->clearHighlight();
  EXPECT_EQ(host->highlighted(), nullptr);
}

TEST_F(SubObjects, APointValueIsAFeatureThatShowsAtTheNextRefreshAndFlagsAreBits) {
  IPtr<IZelPoint> point = createPoint();
  IZelFeature* feature = queryPart<IZelFeature>(point.get());
  ASSERT_NE(feature, nullptr);
  EXPECT_EQ(queryPart<IZelPoint>(feature), point.get()) << "one object serves as value and feature";
  IPtr<IZelFeatureSubObject> shown = make(features_);
  EXPECT_TRUE(shown->setFeature(feature));
  EXPECT_FALSE(shown->setFeature(nullptr));
  EXPECT_EQ(shown->feature(), feature);
  EXPECT_NE(queryPart<HostFeatureSubObject>(shown.get())->shownFeature(), feature);
  shown->refresh();
  EXPECT_EQ(queryPart<HostFeatureSubObject>(shown.get())->shownFeature(), feature);
  shown->setDisplayFlag(5, true);
  shown->setDisplayFlag(4, false);
  EXPECT_EQ(std::vector({shown->displayFlag(1), shown->displayFlag(4)}), std::vector({true, false}));
}

}  // namespace
