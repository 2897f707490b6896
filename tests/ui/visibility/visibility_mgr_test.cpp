#include <gtest/gtest.h>

#include <vector>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "support/module_fixture.h"
#include "ui/visibility/zel_sub_object_visibility_mgr.h"

namespace {

// Sub-objects of a point object in the document, as a probing command finds them.
class VisibilityMgr : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    object_ = createPointObject(ZelString(u"Ref"));
    IZelFeatureSubObjectMgr* features = getFeatureSubObjectMgr(object_.get());
    ASSERT_TRUE(features);
    for (int i = 0; i < 3; ++i) {
      IPtr<IZelSubObject> made;
      made.takeOwnership(features->createSubObject(queryPart<IZelFeature>(createPoint().get())));
      queryPart<IZelSubObjectMgr>(features)->addSubObject(made.get());
      subObjects_.push_back(made);
    }
    manager_.createInstance(classIdOf("SubObjectVisibilityMgr"));
    ASSERT_TRUE(manager_);
  }
  void TearDown() override {
    manager_.release();
    subObjects_.clear();
    object_.release();
    ModuleTest::TearDown();
  }

  void setVisible(int i, bool visible) {
    subObjects_[i]->setDisplayFlag(IZelSubObject::kHiddenDisplayFlag, !visible);
  }
  std::vector<bool> visible() {
    std::vector<bool> shown;
    for (const IPtr<IZelSubObject>& s : subObjects_)
      shown.push_back(!s->displayFlag(IZelSubObject::kHiddenDisplayFlag));
    return shown;
  }
  int32_t redraws() { return host_.scene().renderer().counts().redraws; }

  IPtr<IZelDocObject> object_;
  std::vector<IPtr<IZelSubObject>> subObjects_;
  IPtr<IZelSubObjectVisibilityMgr> manager_;
};

TEST_F(VisibilityMgr, ApplyShowsThenHidesAndRestoreGoesBackInTheSameOrder) {
  setVisible(0, false);
  setVisible(2, false);
  manager_->change(subObjects_[0].get(), true);   // hidden, recorded hidden
  manager_->change(subObjects_[1].get(), false);  // shown, recorded shown
  manager_->change(subObjects_[2].get(), true);   // hidden, recorded hidden, to show ...
  setVisible(2, true);
  manager_->change(subObjects_[2].get(), false);  // ... and shown, recorded shown, to hide
  EXPECT_EQ(visible(), (std::vector<bool>{false, true, true})) << "nothing changes before apply";

  manager_->apply();
  EXPECT_EQ(visible(), (std::vector<bool>{true, false, false})) << "hiding runs last";
  EXPECT_EQ(redraws(), 1);
  setVisible(1, true);
  manager_->apply();
  EXPECT_EQ(visible(), (std::vector<bool>{true, false, false})) << "apply keeps its records";

  manager_->restore();
  EXPECT_EQ(visible(), (std::vector<bool>{false, true, true})) << "the to-hide record of 2 is restored last";
  EXPECT_EQ(redraws(), 3);
  setVisible(0, true);
  manager_->restore();
  EXPECT_EQ(visible(), (std::vector<bool>{true, true, true})) << "restore forgot the records";
  EXPECT_EQ(redraws(), 4);
}

TEST_F(VisibilityMgr, ASubObjectRemovedFromTheDocumentMeanwhileIsRestoredSafely) {
  manager_->change(subObjects_[1].get(), false);
  manager_->apply();
  IZelSubObject* removed = subObjects_[1].get();
  queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(object_.get()))->removeSubObject(removed);
  subObjects_.erase(subObjects_.begin() + 1);
  manager_->restore();
  manager_->change(nullptr, true);
  manager_->apply();
  EXPECT_EQ(visible(), (std::vector<bool>{true, true}));
}

}  // namespace
