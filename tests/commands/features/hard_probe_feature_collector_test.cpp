#include <gtest/gtest.h>

#include "commands/features/zel_hard_probe_feature_collector.h"
#include "features/collectors/feature_collector_base.h"
#include "host_api/feature_kinds.h"
#include "probing_run_fixture.h"

namespace {

using Journal = std::vector<std::string>;

// Takes the feature while "NewFeature" is announced, in one of the two call forms.
class FeatureTaker : public IZelListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "FeatureTaker";
  FeatureTaker(IZelHardProbeFeatureCollector& source, bool outForm) : source_(source), outForm_(outForm) {}

  void onNotify(const char* event, IZelSubject*, void*) override {
    if (std::string(event) != "NewFeature") return;
    if (outForm_) {
      source_.takeFeature(taken);
    } else {
      taken = source_.takeFeature();
    }
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return interfaceName; }

  IPtr<IZelFeature> taken;

 private:
  IZelHardProbeFeatureCollector& source_;
  bool outForm_;
};

class HardProbeFeatureCollectorTest : public ProbingRunTest {
 protected:
  void SetUp() override {
    ProbingRunTest::SetUp();
    source_.getService();
    ASSERT_TRUE(source_);
    queryPart<IZelSubject>(source_.get())->attach(events_.get());
    collector_.createInstance(classIdOf("PlaneCollector"));
    ASSERT_TRUE(collector_);
    source_->setCollector(collector_.get());
  }
  void TearDown() override {
    queryPart<IZelSubject>(source_.get())->detach(events_.get());
    source_.release();
    collector_.release();
    ProbingRunTest::TearDown();
  }

  IPtr<IZelHardProbeFeatureCollector> source_;
  IPtr<IZelFeatureCollector> collector_;
};

TEST_F(HardProbeFeatureCollectorTest, EachFeatureCanBeTakenOnlyWhileItIsAnnounced) {
  EXPECT_EQ(source_->collector(), collector_.get());
  EXPECT_EQ(source_->getCollector(), collector_.get());
  for (bool outForm : {false, true}) {
    SCOPED_TRACE(outForm ? "takeFeature(out)" : "takeFeature()");
    IPtr<FeatureTaker> taker(new FeatureTaker(*source_, outForm));
    queryPart<IZelSubject>(source_.get())->attach(taker.get());
    ASSERT_TRUE(source_->start());
    radius(.001);
    sample(kPlaneTips);
    journal_.clear();
    stop(kAbovePlane);
    queryPart<IZelSubject>(source_.get())->detach(taker.get());

    EXPECT_EQ(heard(), Journal{"NewFeature"});
    auto* plane = queryPart<IZelPlane>(taker->taken.get());
    ASSERT_TRUE(plane);
    EXPECT_NEAR(plane->center().z, 0, 1e-12);
    EXPECT_FALSE(source_->takeFeature()) << "held only while announced";
    IPtr<IZelFeature> late;
    source_->takeFeature(late);
    EXPECT_FALSE(late);
    EXPECT_EQ(pointsTaken(), 0) << "ready for the next feature";
  }
}

// As in "Hard Probe Features": a stop the collector cannot build from keeps the pass and its points and
// says why, so that more points or another stop finish the feature; only a stop with no point taken since
// the last feature ends the pass.
TEST_F(HardProbeFeatureCollectorTest, AFailedBuildKeepsThePassAndItsPointsAndSaysWhyAndAnEmptyStopEndsIt) {
  ASSERT_TRUE(source_->start());
  radius(.001);
  sample({kPlaneTips[0], kPlaneTips[1]});
  journal_.clear();
  stop(kAbovePlane);
  EXPECT_EQ(heard(), (Journal{"FeatureRefused"}));
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_EQ(pointsTaken(), 2);

  IPtr<FeatureTaker> taker(new FeatureTaker(*source_, false));
  queryPart<IZelSubject>(source_.get())->attach(taker.get());
  sample(kPlaneTips[2]);
  journal_.clear();
  stop(kAbovePlane);
  queryPart<IZelSubject>(source_.get())->detach(taker.get());
  EXPECT_EQ(heard(), Journal{"NewFeature"});
  EXPECT_TRUE(queryPart<IZelPlane>(taker->taken.get())) << "the kept points and the new one";

  stop(kAbovePlane);
  EXPECT_EQ(heard(), (Journal{"removeReceiver HardProbe", "stop HardProbe", "Stop"}));
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(HardProbeFeatureCollectorTest, ErrorAndCancelStopAcquisitionAndResetTheCollector) {
  for (const char* event : {"Error", "Cancel"}) {
    SCOPED_TRACE(event);
    ASSERT_TRUE(source_->start());
    sample(kPlaneTips[0]);
    journal_.clear();
    this->event(event);
    EXPECT_EQ(heard(), (Journal{"removeReceiver HardProbe", "stop HardProbe", event}));
    EXPECT_TRUE(queryPart<FeatureCollectorBase>(collector_.get())->sampledPoints().empty());
  }
}

TEST_F(HardProbeFeatureCollectorTest, NothingStartsWithoutACollectorADeviceOrAcquisition) {
  IPtr<IZelHardProbeFeatureCollector> bare;
  bare.getService();
  EXPECT_FALSE(bare->start());

  device_->answers.start = false;
  journal_.clear();
  EXPECT_FALSE(source_->start());
  EXPECT_EQ(heard(), (Journal{"addReceiver HardProbe", "start HardProbe", "removeReceiver HardProbe"}));

  devices_->setDevice(ZelCString("HardProbe"), nullptr);
  EXPECT_FALSE(source_->start());

  // Not listening after the failed starts: the collector's events reach nobody through it.
  queryPart<IZelSubject>(collector_.get())->notify("Cancel", nullptr);
  EXPECT_EQ(heard(), Journal{});
}

TEST_F(HardProbeFeatureCollectorTest, AnotherCollectorDuringAPassTakesTheOldOnesReceiverOffTheDeviceOnce) {
  ASSERT_TRUE(source_->start());
  sample(kPlaneTips[0]);
  IPtr<IZelFeatureCollector> next;
  next.createInstance(classIdOf("PlaneCollector"));
  journal_.clear();
  source_->setCollector(next.get());
  EXPECT_EQ(heard(), Journal{"removeReceiver HardProbe"});
  EXPECT_EQ(device_->receiverCount(), 0u);
  sample(kPlaneTips[1]);
  EXPECT_EQ(queryPart<FeatureCollectorBase>(collector_.get())->sampledPoints().size(), 1u)
      << "the old collector hears the device no more";

  ASSERT_TRUE(source_->start());
  journal_.clear();
  stop(kAbovePlane);
  EXPECT_EQ(heard(), (Journal{"removeReceiver HardProbe", "stop HardProbe", "Stop"}))
      << "the new collector's empty stop stops the device as the first one's would";
}

}  // namespace
