#include <gtest/gtest.h>

#include <vector>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/object/zel_unknown_impl.h"
#include "tests/commands/capture/capture_cmd_fixture.h"

namespace {

// Apply and cancel of "Probe Capture", with passes of the single-point device (a pass a press) or of the
// continuous device.
class CaptureResults : public CaptureTest {
 protected:
  // Starts a single-point capture and presses once at each point.
  void capture(const std::vector<Vector3>& points) {
    ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
    startCapture();
    for (const Vector3& p : points) pressProbe(p);
  }
  int32_t fits() { return host_.scene().genGfx().fits(); }
  IPtr<IZelDocObject> pointObject(const char16_t* name) { return createPointObject(ZelString(name)); }
};

TEST_F(CaptureResults, MergedPassesBecomeTheTestObjectInPassOrderAndThePassesGo) {
  ASSERT_EQ(run(Cmd::kDistance), Start::kStarted);
  startCapture();
  pass({{0, 0, 0}, {1, 0, 0}});
  pass({{2, 0, 0}});
  const int32_t fitsBefore = fits();
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(pointObjectNames(), std::vector<std::u16string>{u"Merged Points 1"});
  IZelDocObject* test = object(u"TestObject");
  ASSERT_TRUE(test);
  EXPECT_EQ(test->objectName(), ZelString(u"Merged Points 1"));
  EXPECT_EQ(pointsIn(test), (std::vector<Vector3>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
  EXPECT_EQ(counter("MergedObjectNumber"), 2);
  EXPECT_GT(fits(), fitsBefore) << "the view frames the merged points";
}

TEST_F(CaptureResults, PointsAppendedToAMovedTestObjectLandInItsOwnFrame) {
  IPtr<IZelDocObject> test = pointObject(u"Part points");
  ASSERT_TRUE(document().registerObject(test.get(), ZelString(u"TestObject")));
  const Matrix4x4 moved = Matrix4x4::translation({1, 0, 0});
  ASSERT_TRUE(test->setTransform(moved.m));
  capture({{1, 2, 3}, {2, 2, 3}});
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(pointsIn(test.get()), (std::vector<Vector3>{{0, 2, 3}, {1, 2, 3}}));
  EXPECT_EQ(pointObjectNames(), std::vector<std::u16string>{u"Part points"}) << "the passes are removed";
  EXPECT_EQ(document().currentObject(), test.get());
  EXPECT_EQ(counter("MergedObjectNumber"), -1) << "no merged object was numbered";
}

TEST_F(CaptureResults, WithoutMergeThePassesAreGroupedAndTheTestObjectIsUntouched) {
  IPtr<IZelDocObject> test = pointObject(u"Part points");
  ASSERT_TRUE(document().registerObject(test.get(), ZelString(u"TestObject")));
  store().setInt(nullptr, "Palpera/ProbeCapture/Merge", 0);
  capture({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
  ASSERT_TRUE(runner_.apply());
  IZelDocObject* group = object(u"Scan Objects 1");
  ASSERT_TRUE(group);
  for (const char16_t* name : {u"Scan 1", u"Scan 2", u"Scan 3"}) {
    SCOPED_TRACE(platform::toUtf8(name));
    auto* pass = queryPart<HostDocObject>(object(name));
    ASSERT_TRUE(pass);
    EXPECT_EQ(pass->groupId(), document().objectId(group));
  }
  EXPECT_TRUE(pointsIn(test.get()).empty());
  EXPECT_EQ(object(u"TestObject"), test.get());
  EXPECT_EQ(counter("ProbeCaptureGroupObjectNumber"), 2);
}

// The boxes hold what the dialog shows, whether clicked or given a value: a ticked box clicked is unticked,
// passes taken without "Merge Scan Passes" are grouped, not merged, and the settings keep both boxes off.
TEST_F(CaptureResults, TheBoxesHoldWhatTheDialogShowsClickedOrGivenAValue) {
  const char* const boxKeys[] = {"Palpera/ProbeCapture/Merge", "Palpera/ProbeCapture/Sampling"};
  for (const bool click : {true, false}) {
    SCOPED_TRACE(click ? "click" : "value");
    const auto untick = [&](int32_t id) { return click ? press(id) : dialog().enterValue(id, false); };
    for (const char* key : boxKeys) store().setInt(nullptr, key, 1);
    ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
    ASSERT_TRUE(untick(Cmd::kSampling));
    EXPECT_EQ(dialog().control(Cmd::kSampling)->value, 0);
    EXPECT_FALSE(dialog().control(Cmd::kSpacing)->enabled);
    ASSERT_TRUE(untick(Cmd::kMerge));
    EXPECT_EQ(dialog().control(Cmd::kMerge)->value, 0);
    startCapture();
    for (double x : {1.0, 2.0, 3.0}) pressProbe({x, 0, 0});
    ASSERT_TRUE(runner_.apply());
    EXPECT_FALSE(object(u"Merged Points 1"));
    for (const char* key : boxKeys) EXPECT_EQ(store().getInt(key, -1), 0) << key;
  }
}

TEST_F(CaptureResults, ASinglePassBecomesTheTestObjectWhateverMergeSays) {
  for (int32_t merge : {1, 0}) {
    SCOPED_TRACE(merge);
    store().setInt(nullptr, "Palpera/ProbeCapture/Merge", merge);
    capture({{merge * 1.0, 0, 0}});
    ASSERT_TRUE(runner_.apply());
    IZelDocObject* test = object(u"TestObject");
    ASSERT_TRUE(test);
    EXPECT_EQ(pointsIn(test), (std::vector<Vector3>{{merge * 1.0, 0, 0}}));
    document().remove(test);
  }
}

TEST_F(CaptureResults, ApplyWithoutPassesOnlyWritesTheSettingsAsTheDialogLeftThem) {
  ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
  ASSERT_TRUE(press(Cmd::kProbeModeDistance));
  ASSERT_TRUE(dialog().enterValue(Cmd::kDistanceRate, 0.02));
  ASSERT_TRUE(dialog().enterValue(Cmd::kVirtualCamera, 1));
  ASSERT_TRUE(dialog().enterValue(Cmd::kVirtualCamera, 0));
  store().setInt(nullptr, "Palpera/ProbeCapture/VirtualCamera", 1);
  const int32_t objectsBefore = document().objectCount();
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(document().objectCount(), objectsBefore);
  EXPECT_EQ(store().getInt("Palpera/ProbeCapture/Mode", -1), 2);
  EXPECT_EQ(store().getDouble("Palpera/ProbeCapture/DistanceRate", -1), 0.02);
  EXPECT_EQ(store().getInt("Palpera/ProbeCapture/VirtualCamera", -1), 0) << "switched off during the run";
}

// A builder that begins and takes everything but cannot finish an object.
class UnfinishingBuilder : public IZelObjectBuilder, public ZelUnknownImpl {
 public:
  bool beginObject(const char*, const ZelString&, bool) override { return true; }
  bool addData(IZelUnknown*) override { return true; }
  IZelDocObject* endObject(bool) override { return nullptr; }
  bool setAttribute(int32_t) override { return true; }
  bool addSourceObject(IZelDocObject*, bool) override { return true; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("UnfinishingBuilder", this, this).offer<IZelObjectBuilder>(this).end();
  }
  const char* className() override { return "UnfinishingBuilder"; }
};

TEST_F(CaptureResults, WhenTheMergedObjectCannotBeMadeThePassesStay) {
  capture({{1, 0, 0}, {2, 0, 0}});
  IPtr<UnfinishingBuilder> builder(new UnfinishingBuilder);
  host_.root().setService(IZelObjectBuilder::interfaceName, static_cast<IZelObjectBuilder*>(builder.get()));
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(pointObjectNames(), (std::vector<std::u16string>{u"Scan 1", u"Scan 2"}));
  EXPECT_EQ(pointsIn(object(u"Scan 2")), (std::vector<Vector3>{{2, 0, 0}}));
}

// Only the objects the user had chosen come back as current, not every object of the document.
TEST_F(CaptureResults, CancelRemovesEveryPassAndMakesTheObjectsCurrentAtActivationCurrentAgain) {
  IPtr<IZelDocObject> first = pointObject(u"First");
  IPtr<IZelDocObject> second = pointObject(u"Second");
  IPtr<IZelDocObject> third = pointObject(u"Third");
  ASSERT_TRUE(document().setCurrentObject(third.get()));
  ASSERT_TRUE(document().addCurrentObject(first.get()));
  capture({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}});
  ASSERT_EQ(pointObjectNames().size(), 8u);
  ASSERT_TRUE(document().setCurrentObject(second.get()));
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(pointObjectNames(), (std::vector<std::u16string>{u"First", u"Second", u"Third"}));
  EXPECT_EQ(document().currentObjects(), (std::vector<IZelDocObject*>{third.get(), first.get()}));
  EXPECT_EQ(store().getInt("Palpera/ProbeCapture/Mode", -1), 0);
}

TEST_F(CaptureResults, ACancelRightAfterAClickAndTwoMovesLeavesNoPassBehind) {
  capture({});
  single_->post<IZelHardProbeDataReceiver>([](IZelHardProbeDataReceiver* r) {
    r->onPointSampled({1, 0, 0});
  });
  for (const double x : {1.1, 1.2})
    single_->post<IZelHardProbeDataReceiver>([x](IZelHardProbeDataReceiver* r) {
      r->onMoved({x, 0, 0}, {0, 0, -1}, {0, 1, 0});
    });
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(pointObjectNames(), std::vector<std::u16string>{}) << "the click still on its way made no pass";
  EXPECT_EQ(single_->receiverCount(), 0u);
  EXPECT_TRUE(host_.core().assertions().reports().empty());
}

TEST_F(CaptureResults, AMergedApplyWithAPassStillOpenMergesItsPointsTooWithoutAnAssertion) {
  ASSERT_EQ(run(Cmd::kDistance), Start::kStarted);
  startCapture();
  pass({{0, 0, 0}, {1, 0, 0}});
  startPass();
  sample({2, 0, 0});
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(pointObjectNames(), std::vector<std::u16string>{u"Merged Points 1"});
  EXPECT_EQ(pointsIn(object(u"TestObject")), (std::vector<Vector3>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
  EXPECT_TRUE(host_.core().assertions().reports().empty());
}

}  // namespace
