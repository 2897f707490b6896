#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands/edit_features/palpera_edit_features_cmd.h"
#include "commands/support/command_fixture.h"
#include "features/creators/creator_fixture.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/unit_service.h"
#include "host/document/host_doc_object.h"
#include "host/scene/host_gfx_view.h"
#include "host/scene/host_scene_nodes.h"
#include "host/scene/host_style_nodes.h"
#include "host_api/probe_array_source.h"
#include "host_api/zel_primitive_itr.h"

namespace {

constexpr double kProbeRadius = .001;

class EditFeaturesCmd : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    object_ = host_.document().doc().add({"Point", u"TestObject", std::nullopt, {}, {}}, false).get();
    host_.document().doc().setActiveObject(object_);
  }

  // A plane probed through its creator, 1 mm above z = 0 at the four corners of a 10 cm square, point 4 2 mm
  // higher, shown as a sub-object of the test object.
  IZelFeatureSubObject* addProbedPlane() {
    const Points tips = {{0, 0, .001}, {.1, 0, .001}, {0, .1, .001}, {.1, .1, .003}};
    IPtr<IZelHardProbeFeatureCreator> creator;
    creator.createInstance(classIdOf("HardProbePlaneCreator"));
    creator->setParameter(ZelString(kSampledPointsKey), pointsValue(tips).get());
    creator->setParameter(ZelString(kStopPointKey), pointValue({.05, .05, .05}).get());
    creator->setParameter(ZelString(kProbeRadiusKey), doubleValue(kProbeRadius).get());
    IPtr<IZelFeature> plane;
    plane.takeOwnership(creator->createFeature());
    return addSubObject(plane.get());
  }
  IZelFeatureSubObject* addSubObject(IZelFeature* feature) {
    IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(object_);
    IPtr<IZelFeatureSubObject> shown;
    shown.takeOwnership(manager->createSubObject(feature));
    queryPart<IZelSubObjectMgr>(manager)->addSubObject(shown.get());
    return shown.get();
  }

  PalperaEditFeaturesCmd& started() {
    EXPECT_EQ(start("PalperaEditFeaturesCmd"), CommandRunner::Start::kStarted);
    return *queryPart<PalperaEditFeaturesCmd>(command_.get());
  }
  void send(uint32_t id) { dialog().sendHostEvent(id); }
  // Chooses entry `index` of the feature-selection list, as the user does.
  void choose(int32_t index) {
    const std::optional<int32_t> list = dialog().idOf(u"Features");
    ASSERT_TRUE(list);
    ASSERT_TRUE(dialog().chooseEntry(*list, index));
  }
  // The statistics table's value cells, from "Number of Points" down.
  std::vector<std::u16string> values() {
    std::vector<std::u16string> cells;
    const auto control = dialog().control(FittingStatisticsTable::kControlId);
    IZelTable* table = control ? control->table.get() : nullptr;
    EXPECT_TRUE(table);
    if (!table) return cells;
    for (int32_t row = 2; row <= table->rowCount(); ++row) cells.push_back(table->text(row, 2).c_str());
    return cells;
  }
  static double maximumPositive(IZelFeature* feature) {
    double negative = 0, positive = 0, deviation = 0;
    FeatureStatistics statistics;
    EXPECT_TRUE(statistics.evaluate(feature, negative, positive, deviation));
    return positive;
  }

  // The command's node under the object's node, or null.
  HostNode* pointNode() {
    for (const IPtr<IZelUnknown>& child : queryPart<HostDocObject>(object_)->graphics().node().children()) {
      auto* node = queryPart<HostNode>(child.get());
      if (node->name() == "edit features") return node;
    }
    return nullptr;
  }
  // Per point drawn, whether it is marked selected (it has a colour node of its own).
  static std::vector<bool> markedPoints(HostNode& node) {
    std::vector<bool> marked;
    for (const IPtr<IZelUnknown>& child : node.children()) {
      auto* point = queryPart<HostNode>(child.get());
      if (point->name() != "point") continue;
      bool colored = false;
      for (const IPtr<IZelUnknown>& part : point->children())
        colored |= bool(queryPart<HostColorNode>(part.get()));
      marked.push_back(colored);
    }
    return marked;
  }
  // The points the view picks in, as the host draws them.
  static std::vector<HostStaticIteratorNode::Primitive> pickedPoints(HostNode& node) {
    for (const IPtr<IZelUnknown>& child : node.children()) {
      if (auto* drawn = queryPart<HostStaticIteratorNode>(child.get())) return drawn->drawPrimitives();
    }
    return {};
  }

  // A press, a move and a release looking down -z, from one corner of the band to the other.
  void drag(const Vector3& from, const Vector3& to, int32_t button) {
    using Callback = HostGfxViewMgr::MouseCallback;
    MouseInput input;
    input.button = button;
    input.rayOrigin = {from.x, from.y, 1};
    host_.scene().view().injectMouse(Callback::kDown, input);
    input.rayOrigin = {to.x, to.y, 1};
    host_.scene().view().injectMouse(Callback::kMove, input);
    host_.scene().view().injectMouse(Callback::kClick, input);
  }
  std::vector<bool> selected(PalperaEditFeaturesCmd& command) {
    std::vector<bool> bits;
    for (int32_t i = 1; i <= 4; ++i) bits.push_back(command.currentState()->selection.test(i));
    return bits;
  }

  IZelDocObject* object_ = nullptr;
};

TEST_F(EditFeaturesCmd, DeletingTheStrayPointRefitsTheFeatureAndUndoRedoAndCancelWalkTheHistory) {
  IZelFeatureSubObject* shown = addProbedPlane();
  IPtr<IZelFeature> original(shown->feature());
  PalperaEditFeaturesCmd& command = started();
  choose(0);
  EXPECT_EQ(values()[0], u"4");

  command.currentState()->selection.set(4);
  send(IHostEvent::kDelete);
  ASSERT_EQ(command.historySize(), 2);
  IZelFeature* refitted = shown->feature();
  EXPECT_NE(refitted, original.get());
  EXPECT_EQ(getCompensatedPoints(refitted)->size(), 3u);
  EXPECT_EQ(values()[0], u"3");
  EXPECT_LT(maximumPositive(refitted), maximumPositive(original.get()));
  EXPECT_NEAR(maximumPositive(refitted), 0.0, 1e-12);
  EXPECT_EQ(queryPart<IZelProbeArraySource>(shown)->count(), 3);
  EXPECT_EQ(host_.gui().busy().shown(), 1);
  EXPECT_EQ(host_.gui().busy().open(), 0);

  send(IHostEvent::kUndo);
  EXPECT_EQ(shown->feature(), original.get());
  EXPECT_EQ(values()[0], u"4");
  send(IHostEvent::kUndo);
  EXPECT_EQ(command.historySize(), 1) << "undo stops at the first state";
  send(IHostEvent::kRedo);
  EXPECT_EQ(shown->feature(), refitted);

  runner_.cancel();
  ASSERT_NE(shown->feature(), refitted);
  auto* restored = queryPart<IZelFeatureExt>(shown->feature());
  EXPECT_TRUE(restored->match(original.get(), 1e-12, 1e-12));
  EXPECT_EQ(getCompensatedPoints(shown->feature()), getCompensatedPoints(original.get()));
}

TEST_F(EditFeaturesCmd, ADeleteThatLeavesTooFewPointsChangesNothing) {
  IZelFeatureSubObject* shown = addProbedPlane();
  IPtr<IZelFeature> original(shown->feature());
  PalperaEditFeaturesCmd& command = started();
  choose(0);
  command.currentState()->selection.set(4);
  send(IHostEvent::kDelete);
  send(IHostEvent::kUndo);
  ASSERT_EQ(command.redoSize(), 1);

  for (int i : {1, 2}) command.currentState()->selection.set(i);
  send(IHostEvent::kDelete);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"Feature fitting failed"});
  EXPECT_EQ(shown->feature(), original.get());
  EXPECT_EQ(command.historySize(), 1);
  EXPECT_EQ(command.redoSize(), 1) << "a failed delete keeps what may be redone";
  EXPECT_TRUE(command.currentState()->selection.test(1)) << "the selection is kept for another try";
}

TEST_F(EditFeaturesCmd, SelectAllAndClearAllSetTheSelectionAndAnEmptyDeleteStillRefits) {
  addProbedPlane();
  PalperaEditFeaturesCmd& command = started();
  choose(0);
  send(IHostEvent::kSelectAll);
  for (int32_t i = 1; i <= 4; ++i) EXPECT_TRUE(command.currentState()->selection.test(i)) << i;
  send(IHostEvent::kClearSelection);
  EXPECT_EQ(command.currentState()->selection.count(), 0u);
  send(IHostEvent::kDelete);
  EXPECT_EQ(command.historySize(), 2);
  EXPECT_EQ(command.currentState()->groups.points.size(), 4u);
}

TEST_F(EditFeaturesCmd, ThePointsAreDrawnInFlatOrderWithTheSelectionMarkedAndFollowTheHistory) {
  addProbedPlane();
  PalperaEditFeaturesCmd& command = started();
  ASSERT_TRUE(pointNode());
  EXPECT_TRUE(pointNode()->children().empty()) << "nothing drawn before a feature is chosen";
  choose(0);
  EXPECT_EQ(markedPoints(*pointNode()), std::vector<bool>(4, false));
  std::vector<HostStaticIteratorNode::Primitive> picked = pickedPoints(*pointNode());
  ASSERT_EQ(picked.size(), 1u);
  EXPECT_EQ(picked[0].type, ZelPrimitiveType::Points);
  EXPECT_EQ(picked[0].vertices, command.currentState()->groups.points);

  send(IHostEvent::kSelectAll);
  EXPECT_EQ(markedPoints(*pointNode()), std::vector<bool>(4, true));
  send(IHostEvent::kClearSelection);
  command.currentState()->selection.set(4);
  send(IHostEvent::kDelete);
  EXPECT_EQ(markedPoints(*pointNode()), std::vector<bool>(3, false));
  picked = pickedPoints(*pointNode());
  ASSERT_EQ(picked.size(), 1u);
  EXPECT_EQ(picked[0].vertices.size(), 3u);
  send(IHostEvent::kUndo);
  EXPECT_EQ(markedPoints(*pointNode()), (std::vector<bool>{false, false, false, true}))
      << "the first state kept its selection";

  runner_.apply();
  EXPECT_FALSE(pointNode()) << "the points leave the view with the command";
}

TEST_F(EditFeaturesCmd, ARubberBandSelectsWithTheLeftButtonAndUnselectsWithTheRightOne) {
  addProbedPlane();
  PalperaEditFeaturesCmd& command = started();
  choose(0);
  // The corners 0, 0; .1, 0; 0, .1 and .1, .1 are points 1 to 4.
  drag({.05, .05, 0}, {.2, .2, 0}, 0);
  EXPECT_EQ(selected(command), (std::vector<bool>{false, false, false, true}));
  drag({.05, .2, 0}, {-.05, -.05, 0}, 0);
  EXPECT_EQ(selected(command), (std::vector<bool>{true, false, true, true})) << "added to what was selected";
  EXPECT_EQ(markedPoints(*pointNode()), selected(command));
  drag({-.05, -.05, 0}, {.2, .02, 0}, 2);
  EXPECT_EQ(selected(command), (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(markedPoints(*pointNode()), selected(command));

  drag({.1, .1, 0}, {.1, .1, 0}, 2);
  EXPECT_TRUE(selected(command)[3]) << "a plain click on a point is no band";
  drag({.3, .3, 0}, {.4, .4, 0}, 2);
  drag({-.05, -.05, 0}, {.2, .2, 0}, 1);
  EXPECT_EQ(selected(command), (std::vector<bool>{false, false, true, true}))
      << "neither an empty band nor the middle button changes the selection";
}

TEST_F(EditFeaturesCmd, WithoutAChosenFeatureTheTableReadsNotAvailableAndEditsDoNothing) {
  IZelFeatureSubObject* shown = addProbedPlane();
  IPtr<IZelFeature> original(shown->feature());
  PalperaEditFeaturesCmd& command = started();
  command.onGuiEvent(PalperaEditFeaturesCmd::kFeatureSelectionId, 1);  // the widget offers no choice yet
  EXPECT_EQ(values(), std::vector<std::u16string>(4, u"N/A"));
  for (uint32_t id : {IHostEvent::kSelectAll, IHostEvent::kDelete, IHostEvent::kUndo, IHostEvent::kRedo})
    send(id);
  EXPECT_EQ(shown->feature(), original.get());
  EXPECT_EQ(command.historySize(), 1);
  EXPECT_TRUE(errorMessages().empty());
}

TEST_F(EditFeaturesCmd, TheTableShowsTheUsersUnitAndDecimalPlaces) {
  IZelFeatureSubObject* shown = addProbedPlane();
  host_.core().dataStore().setInt(nullptr, "General/Decimal Places", 2);
  UnitService::setCurrentLengthUnit(1);
  started();
  choose(0);
  const std::vector<std::u16string> cells = values();
  ASSERT_EQ(cells.size(), 4u);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%.2f mm", maximumPositive(shown->feature()) * 1000);
  EXPECT_EQ(cells[2], std::u16string(expected, expected + std::strlen(expected)));
  EXPECT_NE(cells[2], u"0.00 mm");
}

TEST_F(EditFeaturesCmd, ChoosingAnotherFeatureStartsAFreshHistoryAndCancelRestoresEveryEditedFeature) {
  IZelFeatureSubObject* first = addProbedPlane();
  IZelFeatureSubObject* second = addProbedPlane();
  IPtr<IZelFeature> firstOriginal(first->feature());
  PalperaEditFeaturesCmd& command = started();
  choose(0);
  command.currentState()->selection.set(4);
  send(IHostEvent::kDelete);
  command.onGuiEvent(PalperaEditFeaturesCmd::kFeatureSelectionId, 1);
  EXPECT_EQ(command.historySize(), 2) << "the same feature again keeps its history";

  choose(1);
  EXPECT_EQ(command.historySize(), 1);
  EXPECT_EQ(command.currentState()->feature.get(), second->feature());
  command.currentState()->selection.set(1);
  send(IHostEvent::kDelete);
  ASSERT_EQ(command.historySize(), 2);
  send(IHostEvent::kUndo);
  EXPECT_EQ(command.redoSize(), 1);
  EXPECT_EQ(getCompensatedPoints(first->feature())->size(), 3u) << "the first feature keeps its edit";

  runner_.cancel();
  for (IZelFeatureSubObject* shown : {first, second}) {
    SCOPED_TRACE(shown == first ? "first" : "second");
    EXPECT_EQ(getCompensatedPoints(shown->feature())->size(), 4u);
    EXPECT_TRUE(queryPart<IZelFeatureExt>(shown->feature())->match(firstOriginal.get(), 1e-12, 1e-12));
  }
}

TEST_F(EditFeaturesCmd, WhileItRunsTheHostIsInTheSelectionStateWithTheHelpText) {
  IZelFeatureSubObject* shown = addProbedPlane();
  shown->setDisplayFlag(PalperaEditFeaturesCmd::kProbedDisplayFlag, true);
  started();
  EXPECT_EQ(host_.gui().states().states(), std::vector<std::string>{"SelectionCmd"});
  EXPECT_EQ(host_.gui().statusBar().shown(),
            u"Left Drag: Select points | Right Drag: Unselect points | Del: Delete selected points | Ctrl+Z: "
            u"Undo | "
            u"Ctrl+Y: Redo | Ctrl+A: Select all | Esc: Clear all | ");
  EXPECT_FALSE(shown->displayFlag(PalperaEditFeaturesCmd::kProbedDisplayFlag));
  runner_.apply();
  EXPECT_TRUE(host_.gui().states().states().empty());
  EXPECT_EQ(host_.gui().statusBar().shown(), u"");
  EXPECT_TRUE(shown->displayFlag(PalperaEditFeaturesCmd::kProbedDisplayFlag));
}

TEST_F(EditFeaturesCmd, ItRunsOnlyOnAnObjectWithFeaturesOutsideOtherWork) {
  EXPECT_EQ(start("PalperaEditFeaturesCmd"), CommandRunner::Start::kActivationRefused) << "no feature yet";
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"\"Edit Probed Features\" needs the object holding "
                                                         u"its probed features as the active object."});
  addProbedPlane();
  for (const char* flag : {"inCommand", "recordingMacro", "sectionCurrent", "boundaryCurrent"}) {
    SCOPED_TRACE(flag);
    host_.gui().commandContainer().setFlag(flag, true);
    EXPECT_EQ(start("PalperaEditFeaturesCmd"), CommandRunner::Start::kCannotRun);
    host_.gui().commandContainer().setFlag(flag, false);
  }
  EXPECT_EQ(start("PalperaEditFeaturesCmd"), CommandRunner::Start::kStarted);
}

TEST_F(EditFeaturesCmd, OnlyProbedFeaturesAreEditedAndActivationNeedsAnActiveObject) {
  IZelFeatureSubObject* probed = addProbedPlane();
  addSubObject(planeFeature({0, 0, 0}, {0, 0, 1}).get());
  EXPECT_EQ(started().probedSubObjects(), std::vector<IZelFeatureSubObject*>{probed});
  EXPECT_EQ(dialog().listEntryCount(dialog().idOf(u"Features").value_or(0)), 1);
  runner_.cancel();

  host_.document().doc().setActiveObject(nullptr);
  EXPECT_NE(start("PalperaEditFeaturesCmd"), CommandRunner::Start::kStarted);
}

}  // namespace
