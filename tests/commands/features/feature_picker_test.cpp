#include <gtest/gtest.h>

#include "commands/features/zel_hard_probe_feature_picker.h"
#include "features/collectors/zel_feature_collector.h"
#include "host_api/feature_kinds.h"
#include "probing_run_fixture.h"
#include "support/device_stream.h"

namespace {

using Journal = std::vector<std::string>;

struct Ball {
  Vector3 centre;
  double radius;
};

// The picker over spheres of "TestObject" (a sphere's box is its centre give or take its radius).
class FeaturePickerTest : public ProbingRunTest {
 protected:
  void SetUp() override {
    ProbingRunTest::SetUp();
    picker_.getService();
    ASSERT_TRUE(picker_);
    queryPart<IZelSubject>(picker_.get())->attach(events_.get());
  }
  void TearDown() override {
    queryPart<IZelSubject>(picker_.get())->detach(events_.get());
    picker_.release();
    ProbingRunTest::TearDown();
  }

  // Starts the picker over the balls, probe radius r, set on the target object or, with setObject false, on
  // none; the sub-objects in order.
  std::vector<IZelSubObject*> offer(const std::vector<Ball>& balls, double r, bool setObject = true) {
    std::vector<IZelSubObject*> shown;
    IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(target_);
    for (const Ball& ball : balls) {
      IPtr<IZelSphere> sphere = made<IZelSphere>();
      sphere->setCenter(ball.centre);
      sphere->setRadius(ball.radius);
      IPtr<IZelFeatureSubObject> subObject;
      subObject.takeOwnership(manager->createSubObject(sphere.get()));
      queryPart<IZelSubObjectMgr>(manager)->addSubObject(subObject.get());
      shown.push_back(subObject.get());
    }
    picker_->setObject(setObject ? target_ : nullptr);
    EXPECT_TRUE(picker_->start());
    DeviceStream(picker_.get()).radius(r);
    return shown;
  }
  IZelSubObject* pickAt(const Vector3& p) {
    picker_->reset();
    DeviceStream(picker_.get()).radius(0).sample(p);
    return picker_->pickedSubObject();
  }

  IPtr<IZelHardProbeFeaturePicker> picker_;
};

TEST_F(FeaturePickerTest, WithNoObjectSetItOffersTheDocumentsCurrentObject) {
  host_.document().doc().setCurrentObject(target_);
  const std::vector<IZelSubObject*> shown = offer({{{0, 0, 0}, 0.01}, {{0.1, 0, 0}, 0.01}}, 0.001, false);
  EXPECT_EQ(pickAt({0.1, 0, 0.005}), shown[1]);
}

TEST_F(FeaturePickerTest, BoxesGrowByThreeProbeRadiiAndTheirFacesAreInside) {
  const std::vector<IZelSubObject*> balls = offer({{{0, 0, 0}, .01}}, .003);
  struct Case {
    Vector3 at;
    bool picks;
  };
  for (const Case& c : {Case{{.019, 0, 0}, true}, Case{{0, -.019, .019}, true}, Case{{.0191, 0, 0}, false}}) {
    SCOPED_TRACE(testing::Message() << c.at.x << " " << c.at.y << " " << c.at.z);
    journal_.clear();
    DeviceStream(picker_.get()).sample(c.at);
    EXPECT_EQ(picker_->pickedSubObject(), c.picks ? balls[0] : nullptr);
    EXPECT_EQ(heard(), c.picks ? Journal{"Stop"} : Journal{}) << "a point outside every box says nothing";
    picker_->reset();
  }
}

TEST_F(FeaturePickerTest, TheNearestBoxCentreWinsAndTheFirstOnTies) {
  const std::vector<IZelSubObject*> balls =
      offer({{{0, 0, 0}, .1}, {{.05, 0, 0}, .01}, {{-.03, 0, .2}, .05}, {{.03, 0, .2}, .05}}, 0);
  EXPECT_EQ(pickAt({.05, 0, .005}), balls[1]) << "the small ball inside the large one";
  EXPECT_EQ(pickAt({-.02, 0, 0}), balls[0]);
  EXPECT_EQ(pickAt({0, 0, .2}), balls[2]) << "equally near: the first";
}

TEST_F(FeaturePickerTest, TheSampledPointPicksAndKeepsWhereItWasSampled) {
  const std::vector<IZelSubObject*> balls = offer({{{0, 0, 0}, .01}}, .001);
  DeviceStream(picker_.get()).move({0, 0, 0}).sample({1, 1, 1});
  EXPECT_EQ(picker_->pickedSubObject(), nullptr) << "the highlight of the last move does not pick";
  Vector3 where;
  EXPECT_FALSE(picker_->pickedPoint(where));
  DeviceStream(picker_.get()).sample({.001, .002, .003});
  ASSERT_EQ(picker_->pickedSubObject(), balls[0]);
  ASSERT_TRUE(picker_->pickedPoint(where));
  EXPECT_EQ(where.z, .003);
}

TEST_F(FeaturePickerTest, OnlyTheListedTypesAreCandidatesAndTheOthersHideUntilStop) {
  IPtr<IZelHardProbeFeaturePickerFeatureStrategy> strategy;
  strategy.createInstance(classIdOf("FeatureTypeFeatureStrategy"));
  queryPart<IFeatureTypeFeatureStrategy>(strategy.get())->addType("IZelPlane");
  picker_->setFeatureStrategy(strategy.get());
  const std::vector<IZelSubObject*> balls = offer({{{0, 0, 0}, .01}}, 0);
  EXPECT_TRUE(balls[0]->displayFlag(IZelSubObject::kHiddenDisplayFlag));
  EXPECT_EQ(pickAt({0, 0, 0}), nullptr);
  picker_->setFeatureStrategy(nullptr);
  picker_->stop();
  EXPECT_FALSE(balls[0]->displayFlag(IZelSubObject::kHiddenDisplayFlag));
  EXPECT_FALSE(picker_->isActive());
}

TEST_F(FeaturePickerTest, AStopPointOrCancelStopsPickingAndAnErrorIsPassedOn) {
  offer({{{0, 0, 0}, .01}}, 0);
  journal_.clear();
  DeviceStream(picker_.get()).stop({1, 1, 1}).event("Cancel").event("Error").event("UndoLastSampled");
  EXPECT_EQ(heard(), (Journal{"Stop", "Stop", "Error"}));
}

TEST_F(FeaturePickerTest, ShowsTwoPicturesAndNoText) {
  IPtr<IZelUserInstructions> instructions;
  queryPart<IZelUserInstructionSource>(picker_.get())->userInstructions(instructions, true);
  ASSERT_TRUE(instructions);
  ZelString words;
  EXPECT_TRUE(instructions->text(words, true).isEmpty());
  ASSERT_EQ(instructions->imageCount(), 2);
  for (int32_t i = 0; i < 2; ++i)
    EXPECT_EQ(std::pair(instructions->image(i)->width(), instructions->image(i)->height()),
              std::pair(225u, 150u));
}

}  // namespace
