#include "commands/measure/palpera_cross_section_cmd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/managers/hard_probe_plugin_manager.h"
#include "framework/object/query_part.h"
#include "host/document/host_object_list.h"
#include "host/scene/host_plane_widget.h"
#include "host_api/counter_store.h"
#include "host_api/zel_curves.h"
#include "host_api/zel_object_extras.h"
#include "support/text.h"
#include "tests/commands/support/command_fixture.h"
#include "tests/devices/support/test_plugin.h"

namespace {

using Start = CommandRunner::Start;
using Panel = FitCrossSectionPointsWidget;
using Receiver = IZelHardProbeContinuousDataReceiver;

// The host's builder, except that it cannot make an object of a name ending in "-2": it answers none.
class RefusingBuilder : public IZelObjectBuilder, public ZelUnknownImpl {
 public:
  explicit RefusingBuilder(IZelObjectBuilder* host) : host_(host) {}
  bool beginObject(const char* type, const ZelString& name, bool unique) override {
    refuse_ = text(name).ends_with(u"-2");
    return refuse_ || host_->beginObject(type, name, unique);
  }
  bool addData(IZelUnknown* data) override { return refuse_ || host_->addData(data); }
  IZelDocObject* endObject(bool flag) override { return refuse_ ? nullptr : host_->endObject(flag); }
  bool setAttribute(int32_t attribute) override { return refuse_ || host_->setAttribute(attribute); }
  bool addSourceObject(IZelDocObject* source, bool keep) override {
    return refuse_ || host_->addSourceObject(source, keep);
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("RefusingBuilder", this, this).offer<IZelObjectBuilder>(this).end();
  }
  const char* className() override { return "RefusingBuilder"; }

 private:
  IPtr<IZelObjectBuilder> host_;
  bool refuse_ = false;
};

// "Probe Sections" with a connected test arm as the active hard-probe plug-in and a scripted continuous
// device. The planes are x = 1, 2, ... (the base plane x = 1, "One Way", spacing 1), in a working size of 1.
class ProbeSections : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    store().setInt(nullptr, "Palpera/ProbeCrossSection/VirtualCamera", 0);
    registry_->setManager(ZelCString("HardProbe"), manager_.get());
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm_));
    ASSERT_TRUE(manager_->setActivePlugin(arm_));
    device_ = addDevice("HardProbeContinuous", Receiver::interfaceName);
    host_.gui().commandContainer().setWorkingSize(1.0);
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    registry_->setDevice(ZelCString("HardProbeContinuous"), nullptr);
    CommandTest::TearDown();
  }

  // Starts the command with sections planes x = 1 to x = count.
  void startWithPlanes(int32_t count) {
    ASSERT_EQ(start("PalperaCrossSectionCmd"), Start::kStarted);
    queryPart<HostPlaneWidget>(command().planeWidget())->place({1, 0, 0}, {1, 0, 0});
    MultiplePlanesWidget* planes = command().multiplePlanesWidget();
    dialog().setControlValue(planes->idBase() + MultiplePlanesWidget::kNumSections, count);
    dialog().setControlValue(planes->idBase() + MultiplePlanesWidget::kSpacing, 1.0);
  }
  PalperaCrossSectionCmd& command() { return *static_cast<PalperaCrossSectionCmd*>(command_.get()); }
  int32_t panelId(int32_t offset) { return command().curvePanel()->id(offset); }

  template <class Call>
  void deliver(Call call) {
    device_->deliver<Receiver>(call);
  }
  // A run of count strokes back and forth between x = 0.5 and x = to, each 0.01 further along y, the probe
  // pointing along approach, then the device's stop unless the run is to go on.
  void sweep(int32_t count, double to, bool stop = true, const Vector3& approach = {}) {
    ASSERT_TRUE(press(PalperaCrossSectionCmd::kStartCapture));
    deliver([&](Receiver* r) {
      r->onStartCapture();
      for (int32_t i = 0; i < count; ++i) {
        const double y = 0.01 * i;
        r->onPointSampled({i % 2 ? to : 0.5, y, 0}, approach, {});
        r->onPointSampled({i % 2 ? 0.5 : to, y, 0}, approach, {});
      }
      r->onStopCapture();
      if (stop) r->onStop();
    });
  }
  void stopDevice() {
    deliver([](Receiver* r) { r->onStop(); });
  }
  std::vector<int32_t> sectionCounts() {
    std::vector<int32_t> counts;
    for (const IPtr<SectionData>& section : command().sections())
      counts.push_back(section->pointArray()->count());
    return counts;
  }
  IZelDocObject* find(const char16_t* name) { return host_.document().doc().findObject(ZelString(name)); }
  // The group's members, in document order.
  std::vector<std::u16string> members(IZelDocObject* group) {
    std::vector<std::u16string> names;
    const int32_t id = host_.document().doc().objectId(group);
    for (const IPtr<HostDocObject>& object : host_.document().doc().objects()) {
      if (object->groupId() == id) names.push_back(object->name());
    }
    return names;
  }
  ICurveSet* curvesOf(IZelDocObject* object) {
    auto* holder = queryPart<HostDocObject>(object)->dataAs<IZelCurveSet>();
    return holder ? holder->curveSet() : nullptr;
  }
  int32_t polylinesOf(IZelDocObject* object) {
    return queryPart<IZelObjectList>(object->subObject("CurveBySectionPolylines"))->count();
  }
  IDataStore& store() { return host_.core().dataStore(); }

  IPtr<HardProbePluginManager> manager_{new HardProbePluginManager};
  TestPlugin* arm_ = TestPlugin::arm(u"Arm");
  TestDevice* device_ = nullptr;
};

TEST_F(ProbeSections, ACaptureRunFillsTheSectionsTheTipCrosses) {
  startWithPlanes(2);
  EXPECT_EQ(dialog().control(PalperaCrossSectionCmd::kPointObjectName)->text, u"Section Points 1");
  ASSERT_TRUE(press(PalperaCrossSectionCmd::kStartCapture));
  EXPECT_TRUE(command().capturing());
  EXPECT_FALSE(dialog().control(PalperaCrossSectionCmd::kStartCapture)->enabled);
  deliver([](Receiver* r) {
    r->setProbeRadius(0.003);
    r->onPointSampled({0, 0, 0}, {}, {});
    r->onPointSampled({3, 0, 0}, {}, {});  // both planes in one step
    r->onPointSampled({0.5, 0, 0}, {}, {});
  });
  EXPECT_DOUBLE_EQ(dialog().control(panelId(Panel::kOffset))->value, 0.003);
  EXPECT_EQ(sectionCounts(), (std::vector<int32_t>{2, 2}));
  const double* second = command().sections()[1]->pointArray()->at(1);
  EXPECT_EQ(std::vector<double>(second, second + 3), (std::vector<double>{2, 0, 0}));
  IZelDocObject* points = find(u"Section Points 1");
  ASSERT_TRUE(points);
  EXPECT_EQ(getPointArray(points)->count(), 4);

  stopDevice();
  EXPECT_FALSE(command().capturing());
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_FALSE(command().planeWidget()->isEnabled());
  EXPECT_FALSE(command().multiplePlanesWidget()->isEnabled());
  EXPECT_TRUE(command().curvePanel()->isEnabled());

  // A second run adds to the same sections and object; its first position is not joined to the last.
  sweep(2, 1.5);
  EXPECT_FALSE(command().capturing());
  EXPECT_EQ(sectionCounts(), (std::vector<int32_t>{4, 2}));
  EXPECT_EQ(command().sections().size(), 2u);
  EXPECT_EQ(getPointArray(points)->count(), 6);
  EXPECT_EQ(host_.document().doc().objectCount(), 1);
  ASSERT_TRUE(dialog().typeText(PalperaCrossSectionCmd::kPointObjectName, u"Blade"));
  EXPECT_EQ(text(points->objectName()), u"Blade");
}

TEST_F(ProbeSections, TheVirtualCameraFollowsTheProbeWhileItsCheckBoxIsOn) {
  store().setInt(nullptr, "Palpera/ProbeCrossSection/VirtualCamera", 1);
  startWithPlanes(1);
  EXPECT_EQ(dialog().control(PalperaCrossSectionCmd::kVirtualCamera)->value, 1.0);
  sweep(1, 1.5, false);
  HostScene& scene = host_.scene().view().scene();
  int32_t before = scene.updates();
  deliver([](Receiver* r) { r->onMoved({1, 0, 0.1}, {1, 0, 0}, {0, 1, 0}); });
  EXPECT_EQ(scene.updates(), before + 1);
  ASSERT_TRUE(dialog().enterValue(PalperaCrossSectionCmd::kVirtualCamera, 0));
  before = scene.updates();
  deliver([](Receiver* r) { r->onMoved({1, 0, 0.1}, {1, 0, 0}, {0, 1, 0}); });
  EXPECT_EQ(scene.updates(), before);
  stopDevice();
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(store().getInt("Palpera/ProbeCrossSection/VirtualCamera", -1), 0) << "apply keeps the choice";
}

TEST_F(ProbeSections, AnErrorEndsTheRunWithAMessageHidesTheProbeAndKeepsThePointsAndThePlanes) {
  store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  startWithPlanes(1);
  sweep(3, 1.5, false);
  EXPECT_EQ(device_->receiverCount(), 2u) << "the probe follows the device while the run lasts";
  deliver([](Receiver* r) { r->onCustomEvent(ZelCString("Error"), nullptr); });
  EXPECT_FALSE(command().capturing());
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"An error occurred during data acquisition."});
  EXPECT_EQ(device_->receiverCount(), 0u) << "the probe is hidden and follows the device no more";
  EXPECT_EQ(sectionCounts(), std::vector<int32_t>{3});
  // The sections keep their planes: the planes stay locked however the run ended.
  EXPECT_FALSE(command().planeWidget()->isEnabled());
  EXPECT_FALSE(command().multiplePlanesWidget()->isEnabled());
  EXPECT_TRUE(dialog().control(PalperaCrossSectionCmd::kStartCapture)->enabled);
}

TEST_F(ProbeSections, AFailedStartEndsTheRunAtOnceWithoutAMessage) {
  device_->answers.start = false;
  startWithPlanes(1);
  ASSERT_TRUE(press(PalperaCrossSectionCmd::kStartCapture));
  EXPECT_FALSE(command().capturing());
  EXPECT_TRUE(errorMessages().empty());
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_TRUE(dialog().control(PalperaCrossSectionCmd::kStartCapture)->enabled);
}

TEST_F(ProbeSections, ActivationTakesTheBasePlaneFromTheCamerasCoordinatesIntoTheScene) {
  host_.scene().genGfx().setViewToScene(-1, Matrix4x4::translation({0, 0, 0.1}));
  store().setInt(nullptr, "Palpera/ProbeCrossSection/CurveType", 0);
  ASSERT_EQ(start("PalperaCrossSectionCmd"), Start::kStarted);
  EXPECT_EQ(dialog().listSelection(panelId(Panel::kConnectivity)), 2) << "Closed";
  queryPart<HostPlaneWidget>(command().planeWidget())->place({0.05, 0.05, 0.1}, {0, 0, 1});
  double shown[4];
  ASSERT_TRUE(command().planeWidget()->plane(shown));
  EXPECT_NEAR(shown[3], 0.0, 1e-12) << "z = 0 in the camera's coordinates";
  const Plane& base = command().multiplePlanesWidget()->basePlane();
  EXPECT_NEAR(base.nz, 1.0, 1e-12);
  EXPECT_NEAR(base.d, 0.1, 1e-12);
  std::array<Vector3, 4> corners;
  ASSERT_TRUE(command().planeRectangle(corners));
  for (const Vector3& corner : corners) EXPECT_NEAR(corner.z, 0.1, 1e-12);
  EXPECT_NEAR(corners[2].x - corners[0].x, HostPlaneWidget::kSide, 1e-12);
}

TEST_F(ProbeSections, RunsOnlyOutsideSectionsBoundariesMacrosAndWithAnActivePlugin) {
  HostCommandContainer& host = host_.gui().commandContainer();
  for (const char* flag : {"recordingMacro", "sectionCurrent", "boundaryCurrent"}) {
    SCOPED_TRACE(flag);
    ASSERT_TRUE(host.setFlag(flag, true));
    EXPECT_EQ(start("PalperaCrossSectionCmd"), Start::kCannotRun);
    ASSERT_TRUE(host.setFlag(flag, false));
  }
  ASSERT_TRUE(manager_->setActivePlugin(nullptr));
  EXPECT_EQ(start("PalperaCrossSectionCmd"), Start::kActivationRefused);
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"\"Probe Sections\" needs a hard probe plug-in: choose one as "
                                        u"\"Palpera Plug-In\" on the options page."});
  ASSERT_TRUE(manager_->setActivePlugin(arm_));
  EXPECT_EQ(start("PalperaCrossSectionCmd"), Start::kStarted);
}

// Start Capture before the base plane is picked would cross nothing: it is told, starts no run and makes no
// point object; the values set stay, and once the plane is picked the same press captures.
TEST_F(ProbeSections, StartCaptureBeforeTheBasePlaneIsPickedIsToldAndLeavesNothingBehind) {
  ASSERT_EQ(start("PalperaCrossSectionCmd"), Start::kStarted);
  MultiplePlanesWidget* planes = command().multiplePlanesWidget();
  dialog().setControlValue(planes->idBase() + MultiplePlanesWidget::kNumSections, 2);
  dialog().setControlValue(planes->idBase() + MultiplePlanesWidget::kSpacing, 1.0);
  const int32_t objects = host_.document().doc().objectCount();
  ASSERT_TRUE(press(PalperaCrossSectionCmd::kStartCapture));
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"Pick the base plane of the sections before Start Capture."});
  EXPECT_FALSE(command().capturing());
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(host_.document().doc().objectCount(), objects) << "no empty point object";
  EXPECT_TRUE(dialog().control(PalperaCrossSectionCmd::kStartCapture)->enabled);

  queryPart<HostPlaneWidget>(command().planeWidget())->place({1, 0, 0}, {1, 0, 0});
  sweep(1, 2.5);
  EXPECT_EQ(sectionCounts(), (std::vector<int32_t>{1, 1}));
  ASSERT_TRUE(find(u"Section Points 1"));
}

TEST_F(ProbeSections, ARefusedConnectionRefusesActivation) {
  device_->answers.connect = false;
  EXPECT_EQ(start("PalperaCrossSectionCmd"), Start::kActivationRefused);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"Unable to connect to hard probe device."});
}

TEST_F(ProbeSections, FinishMakesACurveObjectPerSectionOrOneForAll) {
  for (bool multiple : {true, false}) {
    SCOPED_TRACE(multiple);
    startWithPlanes(3);
    sweep(8, 3.5);
    dialog().setControlValue(panelId(Panel::kMultipleCurveObjects), multiple ? 1 : 0);
    ASSERT_TRUE(runner_.finish());
    ASSERT_TRUE(runner_.finish()) << "a second finish replaces the first's curves";
    if (multiple) {
      IZelDocObject* group = command().curveGroup();
      ASSERT_TRUE(group);
      EXPECT_EQ(text(group->objectName()), u"Curves 1");
      EXPECT_EQ(members(group), (std::vector<std::u16string>{u"Curves 1-1", u"Curves 1-2", u"Curves 1-3"}));
      for (const char16_t* name : {u"Curves 1-1", u"Curves 1-2", u"Curves 1-3"}) {
        SCOPED_TRACE(std::u16string(name).back() - u'0');
        ASSERT_TRUE(find(name));
        EXPECT_EQ(curvesOf(find(name))->curveCount(), 1);
        EXPECT_EQ(polylinesOf(find(name)), 1);
      }
    } else {
      EXPECT_FALSE(command().curveGroup());
      ASSERT_EQ(command().curveObjects().size(), 1u);
      EXPECT_EQ(text(command().curveObjects()[0]->objectName()), u"Curves 1");
      EXPECT_EQ(curvesOf(command().curveObjects()[0].get())->curveCount(), 3);
      EXPECT_EQ(polylinesOf(command().curveObjects()[0].get()), 0);
    }
    EXPECT_EQ(command().curveObjects().size(), multiple ? 3u : 1u);
    ASSERT_TRUE(dialog().enterValue(PalperaCrossSectionCmd::kShowCurveEnds, 0));
    for (const IPtr<IZelDocObject>& curve : command().curveObjects())
      EXPECT_FALSE(queryPart<IZelCurveEnds>(curve->subObject("PrimCurveEnds"))->visible());
    ASSERT_TRUE(dialog().enterValue(PalperaCrossSectionCmd::kShowCurveEnds, 1));
    EXPECT_EQ(host_.document().doc().objectCount(), multiple ? 5 : 2) << "the point object and the curves";
    ASSERT_TRUE(runner_.cancel());
    EXPECT_EQ(host_.document().doc().objectCount(), 0) << "cancel takes all the command made";
  }
}

TEST_F(ProbeSections, LineArcCurvesOfOneSectionAreASketch) {
  struct Case {
    const char* name;
    int32_t sections;
    const char16_t* objectName;
  };
  for (const Case& c : {Case{"one section", 1, u"SKETCH:  Curve 7"}, Case{"three combined", 3, u"Curve 7"}}) {
    SCOPED_TRACE(c.name);
    startWithPlanes(c.sections);
    sweep(8, 3.5);
    ASSERT_TRUE(dialog().typeText(panelId(Panel::kName), u"Curve 7"));
    ASSERT_TRUE(dialog().chooseEntry(panelId(Panel::kCurveType), Panel::kLineArc));
    ASSERT_TRUE(runner_.finish());
    ASSERT_EQ(command().curveObjects().size(), 1u);
    IZelDocObject* curve = command().curveObjects()[0].get();
    EXPECT_EQ(text(curve->objectName()), c.objectName);
    const bool sketch = c.sections == 1;
    auto* values = queryPart<IZelStringValue>(curve);
    EXPECT_EQ(text(values->stringValue("ActiveIconOverride")), sketch ? u"tf_sketch" : u"");
    EXPECT_EQ(text(values->stringValue("InactiveIconOverride")), sketch ? u"tf_sketch_inactive" : u"");
    EXPECT_EQ(queryPart<HostDocObject>(curve)->state(), sketch ? "newState" : "");
    EXPECT_EQ(curvesOf(curve)->curveKind(1), ICurveSet::kLineArc);
    EXPECT_EQ(polylinesOf(curve), sketch ? 1 : 0);
    ASSERT_TRUE(runner_.cancel());
  }
}

// The probe points up at the material (+z) from below; the box, ticked by a value or turned over by a press,
// is what finish and apply read.
TEST_F(ProbeSections, TheFlipBoxAloneSendsTheCurveTwoRadiiAwayFromTheMaterial) {
  constexpr double kRadius = 0.003;
  struct Case {
    const char* name;
    int presses;
    bool entered;
    bool flipped;
  };
  for (const Case& c : {Case{"left alone", 0, false, false}, Case{"pressed twice", 2, false, false},
                        Case{"ticked by value", 0, true, true}, Case{"pressed", 1, false, true}}) {
    SCOPED_TRACE(c.name);
    store().setInt(nullptr, "Palpera/ProbeCrossSection/CurveFlipOffset", 0);
    startWithPlanes(1);
    sweep(8, 1.5, true, {0, 0.1, 1});
    dialog().setControlValue(panelId(Panel::kOffset), kRadius);
    if (c.entered) {
      ASSERT_TRUE(dialog().enterValue(panelId(Panel::kFlipOffset), 1));
    }
    for (int i = 0; i < c.presses; ++i) ASSERT_TRUE(dialog().pressButton(panelId(Panel::kFlipOffset)));
    EXPECT_EQ(dialog().control(panelId(Panel::kFlipOffset))->value, c.flipped ? 1.0 : 0.0);
    EXPECT_EQ(command().curvePanel()->flipOffset(), c.flipped);
    ASSERT_TRUE(runner_.finish());
    ASSERT_EQ(command().curveObjects().size(), 1u);
    RealPArray* points = curvesOf(command().curveObjects()[0].get())->curvePoints(1);
    ASSERT_GE(points->count(), 8);
    // The section lies along y in x = 1; the tip centres at z = 0 touch material at z = 0.003.
    const double expected = c.flipped ? -kRadius : kRadius;
    for (int32_t i = 1; i <= points->count(); ++i) EXPECT_NEAR(points->at(i)[2], expected, 1e-12) << i;
    ASSERT_TRUE(runner_.apply());
    EXPECT_EQ(store().getInt("Palpera/ProbeCrossSection/CurveFlipOffset", -1), c.flipped ? 1 : 0);
  }
  startWithPlanes(1);
  EXPECT_EQ(dialog().control(panelId(Panel::kFlipOffset))->value, 1.0) << "the box shows the setting";
  EXPECT_TRUE(command().curvePanel()->flipOffset());
}

TEST_F(ProbeSections, TheHostsGapFactorSettingBreaksTheSectionsWhenItExists) {
  startWithPlanes(1);
  sweep(6, 1.5);
  ASSERT_TRUE(runner_.finish());
  EXPECT_EQ(command().curveObjects().size(), 1u) << "the fitter's own factor keeps the even section whole";
  // A factor below 1 parts every two points, and single points carry no curve.
  ASSERT_TRUE(store().addGroup("Zarodoveze"));
  ASSERT_TRUE(store().addDoubleItem("Zarodoveze/PolyBuilderGapFactor", 0.5, 0, 100, 0));
  ASSERT_TRUE(runner_.finish());
  EXPECT_TRUE(command().curveObjects().empty());
  EXPECT_EQ(host_.document().doc().objectCount(), 1);
}

TEST_F(ProbeSections, ApplyWritesAPointObjectPerSectionIntoAGroup) {
  startWithPlanes(2);
  sweep(5, 2.5);
  const int32_t committed = host_.document().remover().finishedRuns();
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(host_.document().remover().finishedRuns(), committed + 1) << "the single object's removal";
  IZelDocObject* group = find(u"Section Points 1");
  ASSERT_TRUE(group);
  EXPECT_STREQ(group->objectType(), "Group");
  EXPECT_EQ(members(group), (std::vector<std::u16string>{u"Section Points 1-1", u"Section Points 1-2"}));
  EXPECT_EQ(getPointArray(find(u"Section Points 1-1"))->count(), 5);
  EXPECT_NEAR(getPointArray(find(u"Section Points 1-2"))->at(1)[0], 2.0, 1e-12);
  EXPECT_EQ(host_.document().doc().objectCount(), 3) << "the single object is gone";
  EXPECT_EQ(store().getInt("Palpera/ProbeCrossSection/CurveType", -1), 2);
  SPtr<ICounterStore> counters;
  EXPECT_EQ(counters->find(ZelCString("SectionPointObjectNumber"))->value(), 2);

  // One section only: the single object stays.
  startWithPlanes(1);
  EXPECT_EQ(dialog().control(PalperaCrossSectionCmd::kPointObjectName)->text, u"Section Points 2");
  sweep(3, 1.5);
  ASSERT_TRUE(runner_.apply());
  ASSERT_TRUE(find(u"Section Points 2"));
  EXPECT_STREQ(find(u"Section Points 2")->objectType(), "Point");
  EXPECT_EQ(getPointArray(find(u"Section Points 2"))->count(), 3);
}

TEST_F(ProbeSections, ABuilderThatFailsLeavesTheSinglePointObjectWithEveryPoint) {
  startWithPlanes(2);
  sweep(5, 2.5);
  IPtr<RefusingBuilder> refusing(new RefusingBuilder(&host_.document().builder()));
  host_.root().setService(IZelObjectBuilder::interfaceName, refusing.get());
  const int32_t committed = host_.document().remover().finishedRuns();
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(host_.document().remover().finishedRuns(), committed + 1) << "the removal of what was built";
  host_.root().setService(IZelObjectBuilder::interfaceName, &host_.document().builder());
  ASSERT_TRUE(find(u"Section Points 1"));
  EXPECT_STREQ(find(u"Section Points 1")->objectType(), "Point");
  EXPECT_EQ(getPointArray(find(u"Section Points 1"))->count(), 10);
  EXPECT_EQ(host_.document().doc().objectCount(), 1) << "no group and no part of it is left";
}

TEST_F(ProbeSections, CancelTakesAwayWhatTheCommandMadeAndGivesBackEveryObjectOfActivation) {
  SPtr<IZelObjectBuilder> builder;
  std::vector<IPtr<IZelDocObject>> before(2);
  for (IPtr<IZelDocObject>& object : before) {
    builder->beginObject("Point", ZelString(u"Before"), false);
    object.takeOwnership(builder->endObject(true));
  }
  startWithPlanes(3);
  sweep(6, 3.5);
  dialog().setControlValue(panelId(Panel::kMultipleCurveObjects), 1);
  const int32_t committed = host_.document().remover().finishedRuns();
  ASSERT_TRUE(runner_.finish());
  ASSERT_TRUE(runner_.finish());
  EXPECT_EQ(host_.document().remover().finishedRuns(), committed + 2) << "each finish commits its removals";
  EXPECT_EQ(host_.document().doc().objectCount(), 7);
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(host_.document().remover().finishedRuns(), committed + 3);
  EXPECT_EQ(host_.document().doc().objectCount(), 2);
  EXPECT_EQ(host_.document().doc().currentObjects(),
            (std::vector<IZelDocObject*>{before[0].get(), before[1].get()}))
      << "the objects of activation are back";
}

TEST_F(ProbeSections, AStartTheDeviceRefusesLeavesThePlanesFreeAndTheNextStartTakesThemAsTheyAreThen) {
  startWithPlanes(1);
  device_->answers.start = false;
  ASSERT_TRUE(press(PalperaCrossSectionCmd::kStartCapture));
  EXPECT_FALSE(command().capturing());
  EXPECT_TRUE(command().planeWidget()->isEnabled());
  EXPECT_TRUE(command().multiplePlanesWidget()->isEnabled());
  device_->answers.start = true;
  MultiplePlanesWidget* planes = command().multiplePlanesWidget();
  dialog().setControlValue(planes->idBase() + MultiplePlanesWidget::kNumSections, 2);
  sweep(2, 2.5);
  EXPECT_EQ(sectionCounts(), (std::vector<int32_t>{2, 2})) << "the second plane counts";
  EXPECT_FALSE(command().multiplePlanesWidget()->isEnabled()) << "locked once the sections hold points";
}

}  // namespace
