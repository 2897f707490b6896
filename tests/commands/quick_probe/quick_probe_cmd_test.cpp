// The quick-probe command driven as the host drives it: made by class id, run in the stand-in host's command
// container, fed by a test device registered as "HardProbe", on the example parts.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "basic_types/bit_vector.h"
#include "bore_probes.h"
#include "commands/quick_probe/quick_probe_recognizer.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host/cad/cad_model.h"
#include "host/document/features/host_cylinder.h"
#include "host/document/host_doc_object.h"
#include "host/document/parameters/host_bit_vector_array.h"
#include "host/document/parameters/host_parameter_table.h"
#include "host/document/parameters/host_single_values.h"
#include "host/gui/host_command_container.h"
#include "host/gui/host_event.h"
#include "host/scene/host_parray_sphere_itr.h"
#include "host/scene/host_scene_nodes.h"
#include "host/tool/random_pose.h"
#include "host_api/component_command.h"
#include "host_api/feature_kinds.h"
#include "host_api/parameters.h"
#include "host_api/zel_mesh.h"
#include "host_api/zel_primitive_itr.h"
#include "host_api/zel_sub_objects.h"
#include "part_touches.h"
#include "support/drawn_transform.h"
#include "support/module_settings.h"
#include "support/recording_receiver.h"
#include "support/test_device.h"
#include "support/text.h"
#include "test_paths.h"
#include "tests/commands/support/hard_probe_fixture.h"

namespace {

class Finisher : public CommandFinisher {
 public:
  void finishRunning(bool applied) override { finished.push_back(applied); }
  std::vector<bool> finished;
};

class QuickProbeCmdTest : public HardProbeTest {
 protected:
  QuickProbeCmdTest() : HardProbeTest("IZelHardProbeDataReceiverV2") {}
  void SetUp() override {
    HardProbeTest::SetUp();
    host_.core().dataStore().setInt(nullptr, "Palpera/FeatureMatching/Enable", 0);
    container_.setFinisher(&finisher_);
  }
  void TearDown() override {
    if (command_) command_->deactivate();
    command_.release();
    HardProbeTest::TearDown();
  }

  void load(const std::string& name) {
    reference_ = loadCadModel(host_.document().doc(), u"RefObject",
                              std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/" + name + ".step");
    ASSERT_TRUE(reference_);
  }
  // The command, activated on the active reference model, with the device's probe radius.
  void start() {
    HostDocument& document = host_.document().doc();
    document.setActiveObject(document.findObject(ZelString(u"RefObject")));
    command_.createInstance(classIdOf("PalperaQuickProbeCmd"));
    ASSERT_TRUE(command_);
    command_->setContext(static_cast<IComponentCommandContainerV2*>(&container_));
    const bool activated = command_->activate();
    ASSERT_EQ(errorsButRepeats(), std::u16string());
    ASSERT_TRUE(activated);
    device_->deliver<IZelHardProbeDataReceiver>(
        [](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kProbeRadius); });
  }
  // The device reports no probe direction unless given one: the touches come from every side of the part.
  void move(const Vector3& p, const Vector3& to = {}) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) {
      r->onMoved(p, to, {0, 1, 0});
    });
  }
  void sample(const Vector3& p, const Vector3& to = {}) {
    move(p, to);
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(p); });
  }
  void stop(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointStop(p); });
  }

  std::u16string errors() {
    std::u16string all;
    for (const RecordingErrorService::Report& report : host_.core().errors().reports()) all += report.message;
    return all;
  }
  // Every report but those that tell a probe again of a feature already named.
  std::u16string errorsButRepeats() {
    std::u16string all;
    for (const RecordingErrorService::Report& report : host_.core().errors().reports()) {
      if (report.message.find(u" is probed again; this probe is added as ") == std::u16string::npos)
        all += report.message;
    }
    return all;
  }
  IZelSubObjectMgr* subObjects(const char16_t* object) {
    return queryPart<IZelSubObjectMgr>(
        getFeatureSubObjectMgr(host_.document().doc().findObject(ZelString(object))));
  }
  std::vector<std::u16string> names(const char16_t* object) {
    std::vector<std::u16string> found;
    IZelSubObjectMgr* manager = subObjects(object);
    for (int32_t i = 0; manager && i < manager->subObjectCount(); ++i)
      found.push_back(text(manager->subObjectAt(i)->name()));
    return found;
  }
  IZelFeature* feature(const char16_t* object, int32_t i) {
    auto* subObject = queryPart<IZelFeatureSubObject>(subObjects(object)->subObjectAt(i));
    return subObject ? subObject->feature() : nullptr;
  }
  bool hidden(const char16_t* object, int32_t i) {
    return subObjects(object)->subObjectAt(i)->displayFlag(IZelSubObject::kHiddenDisplayFlag);
  }

  void probeTopPlane(const Matrix4x4& pose = Matrix4x4::identity()) {
    for (const Vector3& p : {Vector3{0.01, 0.01, 0.012}, {0.09, 0.01, 0.012}, {0.02, 0.07, 0.012}})
      sample(Matrix4x4::transformPoint(pose, p));
    stop(Matrix4x4::transformPoint(pose, {0.02, 0.02, 0.02}));
  }
  // The top plane probed first, whose nominal makes the rim beside it recognisable; then three points on each
  // end arc of the slot near the rim, off the arcs' seams (at 0° and 180°, edges of their own); a stop in the
  // middle.
  void probeOvalSlot() {
    probeTopPlane();
    const double reach = 0.006 - kProbeRadius;
    for (const double degrees : {-60.0, 10.0, 60.0}) {
      const double angle = degrees * std::numbers::pi / 180;
      sample({0.065 + reach * std::cos(angle), 0.04 + reach * std::sin(angle), 0.0095});
      sample({0.035 - reach * std::cos(angle), 0.04 + reach * std::sin(angle), 0.0095});
    }
    stop({0.05, 0.04, 0.0095});
  }

  // The child of the target object's node that the command draws under, or null.
  HostNode* drawing() {
    auto* target = queryPart<HostDocObject>(host_.document().doc().findObject(ZelString(u"TestObject")));
    if (!target) return nullptr;
    for (const IPtr<IZelUnknown>& child : target->graphics().node().children()) {
      if (auto* node = queryPart<HostNode>(child.get()); node->name() == "node") return node;
    }
    return nullptr;
  }
  HostStaticIteratorNode* drawn(const char* name) {
    HostNode* node = drawing();
    for (const IPtr<IZelUnknown>& child : node ? node->children() : std::vector<IPtr<IZelUnknown>>{}) {
      if (queryPart<HostNode>(child.get())->name() == name)
        return queryPart<HostStaticIteratorNode>(child.get());
    }
    ADD_FAILURE() << "nothing drawn as " << name;
    return nullptr;
  }
  int32_t pointsDrawn() {
    HostStaticIteratorNode* points = drawn("points");
    auto* spheres = points ? queryPart<HostPArraySphereItr>(points->iterator()) : nullptr;
    return spheres && spheres->points() ? spheres->points()->count() : -1;
  }

  HostCommandContainer container_{host_.document().doc()};
  Finisher finisher_;
  IPtr<HostDocObject> reference_;
  IPtr<IComponentCommand> command_;
};

// Near the rim of the oval slot's end at +x, over the top plane.
constexpr Vector3 kNearRim{0.0715, 0.04, 0.0105};

}  // namespace

// Six touches at six heights round a bolt hole lie as exactly on a cylinder some twenty degrees off; the
// ball's travel into each tells which. An arm streams on while the ball rests on the wall before the touch
// is taken, held still or trembling by tens of micrometres, and the travel before that rest still reaches
// the cylinder's fit.
TEST_F(QuickProbeCmdTest, ABallHeldOnTheWallBeforeEachTouchKeepsItsTravel) {
  load("plate-bolt-circle");
  start();
  const Vector3 axis{0.10, 0.06, 0};
  for (int i = 0; i < 6; ++i) {
    const double a = i * std::numbers::pi / 3;
    const Vector3 out{std::cos(a), std::sin(a), 0};
    const Vector3 centre = axis + out * (0.004 - kProbeRadius) + Vector3(0, 0, 0.0025 + 0.00084 * i);
    for (const double back : {2.0, 1.0, 0.5}) move(centre - out * (back * kProbeRadius));
    for (int still = 0; still < 300; ++still) {
      const double tremble = i % 2 ? 3e-5 * (still % 7 - 3) : 0.0;
      move(centre + Vector3(tremble, -tremble, tremble));
    }
    sample(centre);
  }
  stop(axis + Vector3(0, 0, 0.005));
  EXPECT_EQ(errors(), std::u16string());
  ASSERT_EQ(names(u"TestObject").size(), 1u);
  auto* cylinder = queryPart<IZelCylinder>(feature(u"TestObject", 0));
  ASSERT_TRUE(cylinder);
  EXPECT_NEAR(cylinder->radius(), 0.004, 1e-6);
  EXPECT_NEAR(std::fabs(cylinder->axisDirection().normalized().z), 1.0, 1e-9);
}

TEST_F(QuickProbeCmdTest, ABoreProbedOnBothHalvesIsOneCylinderAndItsNominalIsAddedHidden) {
  load("plate-bore");
  start();
  for (const auto& [degrees, z] : {std::pair{20.0, 0.003},
                                   {60.0, 0.005},
                                   {100.0, 0.007},
                                   {200.0, 0.003},
                                   {250.0, 0.005},
                                   {300.0, 0.007}})
    sample(onBore(degrees, z));
  stop({0.05, 0.04, 0.005});
  ASSERT_EQ(names(u"TestObject"), std::vector<std::u16string>{u"Cylinder 1"});
  auto* cylinder = queryPart<IZelCylinder>(feature(u"TestObject", 0));
  ASSERT_TRUE(cylinder);
  EXPECT_NEAR(2 * cylinder->radius(), 0.02, 1e-6);
  ASSERT_EQ(names(u"RefObject"), std::vector<std::u16string>{u"Cylinder 1"});
  EXPECT_TRUE(queryPart<IZelCylinder>(feature(u"RefObject", 0)));
  EXPECT_TRUE(hidden(u"RefObject", 0));
  EXPECT_TRUE(finisher_.finished.empty());

  // Nothing probed since: the stop ends the command, applied.
  stop({0.05, 0.04, 0.005});
  EXPECT_EQ(finisher_.finished, std::vector<bool>{true});

  // Shown while the probe is at the bore; hidden, as it was added, once the command ends.
  move(onBore(0, 0.005));
  EXPECT_FALSE(hidden(u"RefObject", 0));
  command_->deactivate();
  command_.release();
  EXPECT_TRUE(hidden(u"RefObject", 0));
}

// A device that failed sends nothing more: the touches on either side of its error make no feature, the
// operator is told, with how many touches go, and the command ends with the features of the earlier stops.
TEST_F(QuickProbeCmdTest, ADeviceErrorIsToldAndEndsTheCommandKeepingTheFeaturesStoppedBefore) {
  load("plate-bore");
  start();
  for (const Vector3& p : {Vector3{0.01, 0.01, 0.011}, {0.09, 0.01, 0.011}, {0.02, 0.07, 0.011}}) sample(p);
  stop({0.02, 0.02, 0.02});
  for (const double degrees : {20.0, 60.0, 100.0}) sample(onBore(degrees, 0.003));
  device_->deliver<IZelHardProbeDataReceiver>(
      [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("Error"), nullptr); });
  EXPECT_EQ(errors(),
            u"An error occurred during data acquisition."
            u"3 touches were not made into Cylinder 1: the device failed before the stop.");
  EXPECT_EQ(finisher_.finished, std::vector<bool>{true});
  for (const double degrees : {200.0, 250.0, 300.0}) sample(onBore(degrees, 0.007));
  stop({0.05, 0.04, 0.005});
  EXPECT_EQ(names(u"TestObject"), std::vector<std::u16string>{u"Plane 1"});
  EXPECT_EQ(finisher_.finished, std::vector<bool>{true}) << "ended once";
}

TEST_F(QuickProbeCmdTest, APlaneStoppedBelowItsFaceFacesAndStandsLikeItsNominal) {
  load("plate-bore");
  start();
  for (const Vector3& p : {Vector3{0.01, 0.01, 0.012}, {0.09, 0.01, 0.012}, {0.02, 0.07, 0.012}}) sample(p);
  // A stop below the top face, in the material: the plane is compensated towards its nominal's material all
  // the same.
  stop({0.02, 0.02, 0.005});
  ASSERT_EQ(names(u"TestObject").size(), 1u);
  auto* probed = queryPart<IZelPlane>(feature(u"TestObject", 0));
  auto* nominal = queryPart<IZelPlane>(feature(u"RefObject", 0));
  ASSERT_TRUE(probed && nominal);
  EXPECT_NEAR(nominal->normal().z, 1.0, 1e-12);
  EXPECT_GT(probed->normal().z, 0.99);
  EXPECT_NEAR(probed->center().z, 0.01, 1e-9);
}

TEST_F(QuickProbeCmdTest, TheOvalSlotsRimBesideTheTopPlaneGivesTheSlotWithItsDocumentedSize) {
  load("plate-oval-slot");
  start();
  probeOvalSlot();
  EXPECT_EQ(errors(), std::u16string());
  ASSERT_EQ(names(u"TestObject").size(), 2u);
  auto* slot = queryPart<IZelOvalSlot>(feature(u"TestObject", 1));
  ASSERT_TRUE(slot);
  EXPECT_NEAR(slot->length(), 0.042, 1e-6);
  EXPECT_NEAR(slot->width(), 0.012, 1e-6);
  EXPECT_EQ(names(u"RefObject"), names(u"TestObject"));
}

TEST_F(QuickProbeCmdTest, TheSampledPointsAndTheRecognisedRimAreDrawnUntilTheStop) {
  load("plate-oval-slot");
  start();
  move({0.02, 0.02, 0.013});
  EXPECT_TRUE(drawn("edges")->drawPrimitives().empty()) << "a face is no edge";
  probeTopPlane();
  move(kNearRim);
  const std::vector<HostStaticIteratorNode::Primitive> rim = drawn("edges")->drawPrimitives();
  ASSERT_FALSE(rim.empty());
  for (const HostStaticIteratorNode::Primitive& edge : rim) {
    EXPECT_EQ(edge.type, ZelPrimitiveType::LineStrip);
    ASSERT_EQ(edge.vertices.size(), 33u);
    for (const Vector3& vertex : edge.vertices) {
      EXPECT_NEAR(vertex.z, rim[0].vertices[0].z, 1e-9) << "the rim lies in the top plane";
      EXPECT_GT(vertex.x, 0.029 - 1e-9);
      EXPECT_LT(vertex.x, 0.071 + 1e-9);
    }
  }
  EXPECT_EQ(pointsDrawn(), 0);
  sample({0.07, 0.04, 0.0095});
  sample({0.0685, 0.043, 0.0095});
  EXPECT_EQ(pointsDrawn(), 2);
  stop({0.05, 0.04, 0.0095});
  EXPECT_EQ(pointsDrawn(), 0) << "a stop finishes what the points were for";
  EXPECT_TRUE(drawn("edges")->drawPrimitives().empty());
  command_->deactivate();
  EXPECT_FALSE(drawing()) << "nothing is left drawn after the command";
}

TEST_F(QuickProbeCmdTest, AReferenceSlotMadeFromItsRimIsTheNominalOfTheRimProbedAgain) {
  load("plate-oval-slot");
  QuickProbeRecognizer recreation;
  ASSERT_TRUE(
      recreation.attach(queryPart<IZelMeshExt>(reference_->subObject("SurfModel")), reference_->modelId()));
  recreation.setProbeRadius(kProbeRadius);
  const int32_t rim = recreation.nearestFaceOrEdge(kNearRim).edge;
  ASSERT_NE(rim, QuickProbeRecognizer::kNone);
  IPtr<IZelFeature> nominal = recreation.recreateEdge(rim, nullptr);
  ASSERT_TRUE(queryPart<IZelOvalSlot>(nominal.get()));
  IPtr<IZelFeatureSubObject> made;
  made.takeOwnership(getFeatureSubObjectMgr(reference_.get())->createSubObject(nominal.get()));
  made->setName(ZelString(u"Reference slot"));
  subObjects(u"RefObject")->addSubObject(made.get());
  start();
  probeOvalSlot();
  ASSERT_EQ(names(u"TestObject").size(), 2u);
  EXPECT_TRUE(queryPart<IZelOvalSlot>(feature(u"TestObject", 1)));
  EXPECT_EQ(names(u"RefObject"), (std::vector<std::u16string>{u"Reference slot", u"Plane 1"}))
      << "no second slot nominal";
}

TEST_F(QuickProbeCmdTest, AfterTheCommandEveryReferenceFeatureIsShownAsItWasBefore) {
  load("plate-bore");
  // Two recreated reference features: a plane, shown, and the bore, hidden.
  auto* mesh = queryPart<IZelMeshExt>(reference_->subObject("SurfModel"));
  QuickProbeRecognizer recreation;
  ASSERT_TRUE(recreation.attach(mesh, reference_->modelId()));
  std::vector<IPtr<IZelFeature>> nominals;
  for (ZelSurfaceKind wanted : {ZelSurfaceKind::plane, ZelSurfaceKind::cylinder}) {
    uint32_t face = 1;
    while (mesh->topology()->surfaceKind(face) != wanted) ++face;
    nominals.push_back(recreation.recreateFace(static_cast<int32_t>(face)));
    ASSERT_TRUE(nominals.back());
  }
  IZelFeatureSubObjectMgr* manager =
      getFeatureSubObjectMgr(host_.document().doc().findObject(ZelString(u"RefObject")));
  for (size_t i = 0; i < nominals.size(); ++i) {
    IPtr<IZelFeatureSubObject> made;
    made.takeOwnership(manager->createSubObject(nominals[i].get()));
    made->setName(ZelString(i ? u"Hidden" : u"Shown"));
    made->setDisplayFlag(IZelSubObject::kHiddenDisplayFlag, i == 1);
    subObjects(u"RefObject")->addSubObject(made.get());
  }
  start();
  move(onBore(0, 0.005));
  EXPECT_TRUE(hidden(u"RefObject", 0)) << "the feature away from the probe";
  EXPECT_FALSE(hidden(u"RefObject", 1)) << "the bore under the probe";
  command_->deactivate();
  command_.release();
  EXPECT_FALSE(hidden(u"RefObject", 0));
  EXPECT_TRUE(hidden(u"RefObject", 1));
}

TEST_F(QuickProbeCmdTest, ClosingTheDialogFiresItsDataStoreEventAndNothingElseDoes) {
  IPtr<RecordingReceiver> listener(new RecordingReceiver);
  host_.core().dataStore().addListener("Command/DialogClosing", listener.get());
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaQuickProbeCmd"));
  ASSERT_TRUE(command);
  EXPECT_EQ(text(*command->name()), u"Quick Probe");
  auto* receiver = dynamic_cast<IGuiReceiver*>(command.get());
  ASSERT_TRUE(receiver);
  for (uint32_t id : {IHostEvent::kUndo, IHostEvent::kDialogClosing}) {
    IPtr<HostEvent> event(new HostEvent(id));
    receiver->onEvent(event.get());
  }
  EXPECT_EQ(listener->heard(), std::vector<std::string>{"notify Command/DialogClosing"});
  host_.core().dataStore().removeListener("Command/DialogClosing", listener.get());
}

// Outside other work it runs; what the operator set up is asked at activation, which says what is missing.
TEST_F(QuickProbeCmdTest, ItRunsOnlyOnTheActiveCadReferenceWithAnActivePlugInOutsideOtherWork) {
  load("plate-bore");
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaQuickProbeCmd"));
  ASSERT_TRUE(command);
  IZelUnknown* context = static_cast<IComponentCommandContainerV2*>(&container_);
  HostDocument& document = host_.document().doc();
  const IPtr<HostDocObject> other = loadCadModel(
      document, u"Other", std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/plate-bore.step");
  struct Case {
    const char* what;
    const char* flag;  // set for the case, or null
    IZelDocObject* active;
    bool canRun;
    std::u16string refusal;  // at activation; empty when it activates
  };
  const std::u16string noReference =
      u"\"Quick Probe\" needs a reference model named \"RefObject\", loaded and active.";
  const Case cases[] = {
      {"the reference active", nullptr, reference_.get(), true, u""},
      {"inside another command", "inCommand", reference_.get(), false, u""},
      {"recording a macro", "recordingMacro", reference_.get(), false, u""},
      {"a section current", "sectionCurrent", reference_.get(), false, u""},
      {"another object active", nullptr, other.get(), true, noReference},
      {"nothing active", nullptr, nullptr, true, noReference},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    document.setActiveObject(c.active);
    if (c.flag) container_.setFlag(c.flag, true);
    EXPECT_EQ(command->canRun(context), c.canRun);
    if (c.flag) container_.setFlag(c.flag, false);
    if (!c.canRun || c.refusal.empty()) continue;
    host_.core().errors().clear();
    EXPECT_FALSE(command->activate());
    EXPECT_EQ(errors(), c.refusal);
    EXPECT_EQ(device_->receiverCount(), 0u);
  }
  document.setActiveObject(reference_.get());
  devices_->getManager(ZelCString("HardProbe"))->setActivePlugin(nullptr);
  host_.core().errors().clear();
  EXPECT_TRUE(command->canRun(context)) << "no active plug-in";
  EXPECT_FALSE(command->activate());
  EXPECT_EQ(
      errors(),
      u"\"Quick Probe\" needs a hard probe plug-in: choose one as \"Palpera Plug-In\" on the options page.");
}

TEST_F(QuickProbeCmdTest, TheProbeIsShownWhileTheCommandRunsWhenTheSettingAsks) {
  load("plate-bore");
  host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  start();
  EXPECT_EQ(device_->receiverCount(), 2u) << "the command and the probe graphics";
  command_->deactivate();
  command_.release();
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(QuickProbeCmdTest, AnActivationThatFailsSaysWhyAndLeavesTheDeviceFree) {
  struct Case {
    const char* what;
    bool withReference, connects, starts;
    std::u16string error;
  };
  const Case cases[] = {
      {"no reference", false, true, true,
       u"\"Quick Probe\" needs a reference model named \"RefObject\", loaded and active."},
      {"no connection", true, false, true, u"Unable to connect to hard probe device."},
      {"no acquisition", true, true, false, u"Unable to start data acquisition."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.withReference && !reference_) {
      load("plate-bore");
      host_.document().doc().setActiveObject(reference_.get());
    }
    device_->answers = {.connect = c.connects, .start = c.starts};
    host_.core().errors().clear();
    IPtr<IComponentCommand> command;
    command.createInstance(classIdOf("PalperaQuickProbeCmd"));
    ASSERT_TRUE(command);
    EXPECT_FALSE(command->activate());
    EXPECT_EQ(errors(), c.error);
    EXPECT_EQ(device_->receiverCount(), 0u);
  }
}

namespace {

// A pose that is neither the identity nor a pure shift: turned about a slanted axis, then moved.
Matrix4x4 placedPose() {
  return Matrix4x4::translation({0.35, -0.2, 0.6}) * Matrix4x4::rotation({1, 2, 3}, 0.7);
}

constexpr double kNominalTolerance = 1e-6;

// Whether two directions agree; either sense when unsigned.
bool sameDirection(const Vector3& a, const Vector3& b, bool unsigned_) {
  return (a - b).length() < kNominalTolerance || (unsigned_ && (a + b).length() < kNominalTolerance);
}

double offLine(const Vector3& p, const Vector3& origin, const Vector3& unit) {
  return Vector3::cross(p - origin, unit).length();
}

bool near(double a, double b) {
  return std::fabs(a - b) < kNominalTolerance;
}

bool near(const Vector3& a, const Vector3& b) {
  return (a - b).length() < kNominalTolerance;
}

Vector3 apex(IZelCone& cone) {
  const double shrink = cone.radiusA() / std::tan(cone.halfAngle());
  return cone.endA() + cone.axisDirection() * (cone.radiusB() > cone.radiusA() ? -shrink : shrink);
}

bool sameSlot(IZelSlotOutline& probed, IZelSlotOutline& nominal, const Matrix4x4& pose) {
  return near(probed.center(), Matrix4x4::transformPoint(pose, nominal.center())) &&
         sameDirection(probed.axis(), Matrix4x4::transformVector(pose, nominal.axis()), true) &&
         near(probed.width(), nominal.width()) && near(probed.length(), nominal.length());
}

// The probed feature (in the world) against its nominal (in the part's coordinates, placed by pose): the
// kind's name when they agree within kNominalTolerance, else what differs.
std::string kindMatching(IZelFeature* probed, IZelFeature* nominal, const Matrix4x4& pose) {
  const auto point = [&](const Vector3& p) { return Matrix4x4::transformPoint(pose, p); };
  const auto direction = [&](const Vector3& d) { return Matrix4x4::transformVector(pose, d); };
  if (auto* p = queryPart<IZelPlane>(probed), *n = queryPart<IZelPlane>(nominal); p && n) {
    const bool same = sameDirection(p->normal(), direction(n->normal()), false) &&
                      std::fabs((p->center() - point(n->center())).dot(p->normal())) < kNominalTolerance;
    return same ? "plane" : "plane off its nominal";
  }
  if (auto* p = queryPart<IZelCylinder>(probed), *n = queryPart<IZelCylinder>(nominal); p && n) {
    const bool same =
        sameDirection(p->axisDirection(), direction(n->axisDirection()), false) &&
        offLine(point(n->axisPoint()), p->axisPoint(), p->axisDirection()) < kNominalTolerance &&
        near(p->radius(), n->radius());
    return same ? "cylinder" : "cylinder off its nominal";
  }
  if (auto* p = queryPart<IZelCone>(probed), *n = queryPart<IZelCone>(nominal); p && n) {
    const bool same = sameDirection(p->axisDirection(), direction(n->axisDirection()), false) &&
                      near(apex(*p), point(apex(*n))) && near(p->halfAngle(), n->halfAngle());
    return same ? "cone" : "cone off its nominal";
  }
  if (auto* p = queryPart<IZelSphere>(probed), *n = queryPart<IZelSphere>(nominal); p && n)
    return near(p->center(), point(n->center())) && near(p->radius(), n->radius()) ? "sphere"
                                                                                   : "sphere off its nominal";
  if (auto* p = queryPart<IZelArc>(probed), *n = queryPart<IZelArc>(nominal); p && n) {
    const bool same = near(p->center(), point(n->center())) &&
                      sameDirection(p->normal(), direction(n->normal()), true) &&
                      near(p->radius(), n->radius());
    return same ? "circle" : "circle off its nominal";
  }
  if (auto* p = queryPart<IZelOvalSlot>(probed), *n = queryPart<IZelOvalSlot>(nominal); p && n)
    return sameSlot(*p, *n, pose) ? "oval slot" : "oval slot off its nominal";
  if (auto* p = queryPart<IZelRectangularSlot>(probed), *n = queryPart<IZelRectangularSlot>(nominal); p && n)
    return sameSlot(*p, *n, pose) ? "rectangular slot" : "rectangular slot off its nominal";
  if (auto* p = queryPart<IZelRoundedSlot>(probed), *n = queryPart<IZelRoundedSlot>(nominal); p && n) {
    const bool same = sameSlot(*p, *n, pose) && near(p->cornerDiameter(), n->cornerDiameter());
    return same ? "rounded slot" : "rounded slot off its nominal";
  }
  return "no feature of its nominal's kind";
}

class QuickProbePlacedTest : public QuickProbeCmdTest {
 protected:
  // A probe of 1 mm radius, which fits the 8 mm holes.
  static constexpr double kRadius = 0.001;

  void startWithRadius() {
    start();
    device_->deliver<IZelHardProbeDataReceiver>(
        [](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kRadius); });
  }
  void end() {
    command_->deactivate();
    command_.release();
  }
  void removeFeatures() {
    for (const char16_t* object : {u"TestObject", u"RefObject"}) {
      while (subObjects(object) && subObjects(object)->subObjectCount() > 0)
        subObjects(object)->removeSubObject(subObjects(object)->subObjectAt(0));
    }
  }
  // The reference object placed by placedPose, the command started on it.
  Matrix4x4 placed() {
    const Matrix4x4 pose = placedPose();
    EXPECT_TRUE(reference_->setTransform(pose.m));
    start();
    return pose;
  }

  // Probes each feature, the part placed by pose, and answers for each what it made: the kind matched
  // against the nominal the first run (nominals empty) added to the reference object, or "nothing".
  std::vector<std::string> probeAll(const std::vector<FeatureTouches>& features, const Matrix4x4& pose,
                                    std::vector<IPtr<IZelFeature>>& nominals) {
    const bool first = nominals.empty();
    nominals.resize(features.size());
    std::vector<std::string> made;
    for (size_t i = 0; i < features.size(); ++i) {
      SCOPED_TRACE(features[i].what);
      const int32_t probedBefore = subObjects(u"TestObject")->subObjectCount();
      const int32_t nominalsBefore = subObjects(u"RefObject")->subObjectCount();
      for (const Vector3& centre : features[i].samples) sample(Matrix4x4::transformPoint(pose, centre));
      stop(Matrix4x4::transformPoint(pose, features[i].stop));
      if (first && subObjects(u"RefObject")->subObjectCount() == nominalsBefore + 1)
        nominals[i] = IPtr<IZelFeature>(feature(u"RefObject", nominalsBefore));
      const bool probed = subObjects(u"TestObject")->subObjectCount() == probedBefore + 1;
      made.push_back(probed && nominals[i]
                         ? kindMatching(feature(u"TestObject", probedBefore), nominals[i].get(), pose)
                         : "nothing");
    }
    return made;
  }
};

}  // namespace

// An example part and the kinds its features make, every one equal to its nominal.
struct PartKinds {
  const char* part;
  std::set<std::string> kinds;
};

void PrintTo(const PartKinds& kinds, std::ostream* out) {
  *out << kinds.part;
}

class QuickProbeEveryPartTest : public QuickProbePlacedTest, public testing::WithParamInterface<PartKinds> {};

TEST_P(QuickProbeEveryPartTest, EveryFeatureOfThePlacedPartIsRecognisedAsAtTheIdentityAndEqualsItsNominal) {
  load(GetParam().part);
  const std::vector<FeatureTouches> features = touchesOf(*cadModelById(reference_->id()), kRadius);
  std::vector<IPtr<IZelFeature>> nominals;
  startWithRadius();
  const std::vector<std::string> atIdentity = probeAll(features, Matrix4x4::identity(), nominals);
  end();
  EXPECT_EQ(std::set<std::string>(atIdentity.begin(), atIdentity.end()), GetParam().kinds);
  const Matrix4x4 pose = placedPose();
  ASSERT_TRUE(reference_->setTransform(pose.m));
  startWithRadius();
  EXPECT_EQ(probeAll(features, pose, nominals), atIdentity);
  end();
  EXPECT_EQ(errors(), std::u16string());
}

INSTANTIATE_TEST_SUITE_P(
    ExampleParts, QuickProbeEveryPartTest,
    testing::Values(PartKinds{"plate-bore", {"plane", "cylinder", "circle"}},
                    PartKinds{"plate-bore-boss", {"plane", "cylinder", "circle"}},
                    PartKinds{"plate-bore-slot", {"plane", "cylinder", "circle", "oval slot"}},
                    PartKinds{"plate-boss", {"plane", "cylinder", "circle"}},
                    PartKinds{"plate-oval-slot", {"plane", "cylinder", "oval slot"}},
                    PartKinds{"plate-rectangular-slot", {"plane", "rectangular slot"}},
                    PartKinds{"plate-rounded-slot", {"plane", "cylinder", "rounded slot"}},
                    PartKinds{"plate-countersink", {"plane", "cone", "cylinder", "circle"}},
                    PartKinds{"sphere-on-stand", {"plane", "sphere"}},
                    PartKinds{"plate-bolt-circle", {"plane", "cylinder", "circle"}}),
    [](const testing::TestParamInfo<PartKinds>& info) {
      std::string name = info.param.part;
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

// The probe, shown in the reference's node, and the rim, drawn in the target object's, both found by walking
// the scene as the host draws it.
TEST_F(QuickProbePlacedTest, TheProbeAndTheRimUnderItAreDrawnWhereThePlacedPartStands) {
  load("plate-oval-slot");
  const Matrix4x4 pose = placedPose();
  ASSERT_TRUE(reference_->setTransform(pose.m));
  host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  start();
  probeTopPlane(pose);
  const Vector3 nearRim = Matrix4x4::transformPoint(pose, kNearRim);
  move(nearRim);
  HostHardProbeGfx& probe = *host_.scene().probeGfx().made().back();
  const std::optional<Vector3> probeAt = drawnAt(host_, probe.probeNode(), probe.position());
  ASSERT_TRUE(probeAt);
  EXPECT_LT((*probeAt - nearRim).length(), 1e-12);
  const std::vector<HostStaticIteratorNode::Primitive> rim = drawn("edges")->drawPrimitives();
  ASSERT_FALSE(rim.empty());
  const std::optional<Matrix4x4> rimToWorld = drawnTransform(host_, drawn("edges"));
  ASSERT_TRUE(rimToWorld);
  const Matrix4x4 toPart = Matrix4x4::inverse(pose) * *rimToWorld;
  for (const HostStaticIteratorNode::Primitive& edge : rim) {
    for (const Vector3& vertex : edge.vertices) {
      const Vector3 onPart = Matrix4x4::transformPoint(toPart, vertex);
      EXPECT_NEAR(onPart.z, 0.01, 1e-9) << "the rim lies in the top plane";
      EXPECT_GT(onPart.x, 0.029 - 1e-9);
      EXPECT_LT(onPart.x, 0.071 + 1e-9);
    }
  }
}

TEST_F(QuickProbePlacedTest, AProbedFeatureOfAPlacedPartIsNamedAfterTheReferenceFeatureItMatches) {
  load("plate-bore");
  auto* mesh = queryPart<IZelMeshExt>(reference_->subObject("SurfModel"));
  QuickProbeRecognizer recreation;
  ASSERT_TRUE(recreation.attach(mesh, reference_->modelId()));
  // The top face's plane, recreated in the part's coordinates, as the reference feature "Top".
  const int32_t top = recreation.nearestFaceOrEdge({0.02, 0.02, 0.011}).face;
  IPtr<IZelFeature> plane = recreation.recreateFace(top);
  ASSERT_TRUE(queryPart<IZelPlane>(plane.get()));
  IPtr<IZelFeatureSubObject> made;
  made.takeOwnership(getFeatureSubObjectMgr(reference_.get())->createSubObject(plane.get()));
  made->setName(ZelString(u"Top"));
  subObjects(u"RefObject")->addSubObject(made.get());
  const Matrix4x4 pose = placedPose();
  ASSERT_TRUE(reference_->setTransform(pose.m));
  host_.core().dataStore().setInt(nullptr, "Palpera/FeatureMatching/Enable", 1);
  start();
  for (const Vector3& p : {Vector3{0.01, 0.01, 0.012}, {0.09, 0.01, 0.012}, {0.02, 0.07, 0.012}})
    sample(Matrix4x4::transformPoint(pose, p));
  stop(Matrix4x4::transformPoint(pose, {0.02, 0.02, 0.02}));
  EXPECT_EQ(names(u"TestObject"), std::vector<std::u16string>{u"Top"});
  EXPECT_EQ(names(u"RefObject"), std::vector<std::u16string>{u"Top"})
      << "no second nominal of the same plane";
}

TEST_F(QuickProbePlacedTest, TheNominalsAddedToThePlacedReferenceObjectLieInItsModelsCoordinates) {
  load("plate-bore");
  const Matrix4x4 pose = placed();
  // Within the allowance of the top face's outer edge while no plane beside it is known: the face under
  // the probe is asked for, and its nominal shown.
  move(Matrix4x4::transformPoint(pose, {0.0025, 0.04, 0.012}));
  ASSERT_EQ(subObjects(u"RefObject")->subObjectCount(), 1);
  auto* top = queryPart<IZelPlane>(feature(u"RefObject", 0));
  ASSERT_TRUE(top);
  EXPECT_NEAR(std::fabs(top->normal().z), 1, 1e-9);
  EXPECT_NEAR(top->center().z, 0.01, 1e-9);
  // The bore's nominal, kept once the bore is probed.
  for (const auto& [degrees, z] : {std::pair{20.0, 0.002},
                                   {60.0, 0.004},
                                   {100.0, 0.006},
                                   {200.0, 0.002},
                                   {250.0, 0.004},
                                   {300.0, 0.006}})
    sample(Matrix4x4::transformPoint(pose, onBore(degrees, z)));
  stop(Matrix4x4::transformPoint(pose, {0.05, 0.04, 0.005}));
  ASSERT_EQ(names(u"RefObject"), std::vector<std::u16string>{u"Cylinder 1"});
  auto* bore = queryPart<IZelCylinder>(feature(u"RefObject", 0));
  ASSERT_TRUE(bore);
  EXPECT_NEAR(std::fabs(bore->axisDirection().z), 1, 1e-9);
  EXPECT_NEAR(offLine(bore->axisPoint(), {0.05, 0.04, 0}, {0, 0, 1}), 0, 1e-9);
  EXPECT_NEAR(bore->radius(), 0.01, 1e-9);
}

TEST_F(QuickProbePlacedTest, APartPlacedByMoreThanATurnAndAShiftIsRefusedWithTheReason) {
  load("plate-bore");
  // A thousandth larger: no distance of the model is the world's any more.
  const Matrix4x4 scaled = placedPose() * Matrix4x4::uniformScaling(1.001);
  ASSERT_TRUE(reference_->setTransform(scaled.m));
  host_.document().doc().setActiveObject(reference_.get());
  command_.createInstance(classIdOf("PalperaQuickProbeCmd"));
  ASSERT_TRUE(command_);
  command_->setContext(static_cast<IComponentCommandContainerV2*>(&container_));
  EXPECT_FALSE(command_->activate());
  EXPECT_EQ(
      errors(),
      u"The reference object is placed by a transform that is not a rotation and a shift: the probe cannot "
      u"be compared with its model.");
  EXPECT_EQ(device_->receiverCount(), 0u);
}

namespace {

// Probe centres on plate-bore-boss: its top face (z 0.01), its side face at y = 0, the bore (diameter 0.02
// about x = 0.03, y = 0.04) and the boss (diameter 0.03 about x = 0.085, y = 0.04, its top at z = 0.025).
// Each touch is off its surface by a tenth of a micrometre or so, unevenly, as a real arm's are.
double noise(int i) {
  return 1e-7 * std::sin(1.7 * i + 0.3);
}
std::vector<Vector3> onTopFace() {
  return {{0.005, 0.01, 0.012 + noise(1)},
          {0.055, 0.012, 0.012 + noise(2)},
          {0.06, 0.07, 0.012 + noise(3)},
          {0.008, 0.068, 0.012 + noise(4)}};
}
std::vector<Vector3> onSideFace() {
  return {
      {0.01, -0.002 + noise(5), 0.005}, {0.07, -0.002 + noise(6), 0.004}, {0.11, -0.002 + noise(7), 0.006}};
}
Vector3 onRound(double x, double y, double reach, double degrees, double z) {
  const double angle = degrees * std::numbers::pi / 180;
  return {x + reach * std::cos(angle), y + reach * std::sin(angle), z};
}
// Touches around a vertical axis at a reach, at the low and the high height in turn.
std::vector<Vector3> ring(double x, double y, double reach, std::initializer_list<double> degrees, double low,
                          double high) {
  std::vector<Vector3> touches;
  for (const double each : degrees) {
    const int i = static_cast<int>(touches.size());
    touches.push_back(onRound(x, y, reach + noise(i), each, i % 2 ? low : high));
  }
  return touches;
}
// Spread along the wall as far as its edges allow: at 4 and 6 mm, a bore 21 degrees off fits them within
// 0.02 mm.
std::vector<Vector3> inBore() {
  return ring(0.03, 0.04, 0.008, {40, 80, 130, 225, 260, 320}, 0.0035, 0.0065);
}
std::vector<Vector3> aroundBoss() {
  return ring(0.085, 0.04, 0.017, {10, 70, 150, 200, 250, 310}, 0.014, 0.02);
}
std::vector<Vector3> onBossTop() {
  return {onRound(0.085, 0.04, 0.008, 20, 0.027 + noise(8)),
          onRound(0.085, 0.04, 0.006, 140, 0.027 + noise(9)),
          onRound(0.085, 0.04, 0.009, 250, 0.027 + noise(10))};
}

struct StopCase {
  const char* where;
  Vector3 stop;
};

}  // namespace

class QuickProbeSidesTest : public QuickProbeCmdTest {
 protected:
  void probeAll(const std::vector<std::vector<Vector3>>& features, const Vector3& stopAt) {
    for (const std::vector<Vector3>& touches : features)
      for (const Vector3& p : touches) sample(p);
    stop(stopAt);
  }
  // The features added by the last stop, the newest count of them.
  IZelFeature* added(size_t fromEnd) {
    const size_t count = names(u"TestObject").size();
    return count > fromEnd ? feature(u"TestObject", static_cast<int32_t>(count - 1 - fromEnd)) : nullptr;
  }
  // The one feature a stop added without a word, as Kind; null otherwise.
  template <class Kind>
  Kind* onlyAdded() {
    EXPECT_EQ(errors(), std::u16string());
    const bool one = names(u"TestObject").size() == 1;
    EXPECT_TRUE(one);
    return one ? queryPart<Kind>(feature(u"TestObject", 0)) : nullptr;
  }
  void expectPlane(IZelPlane* plane, const Vector3& normal, double offset) {
    ASSERT_TRUE(plane);
    EXPECT_NEAR(plane->normal().dot(normal), 1.0, 1e-8);
    EXPECT_NEAR(plane->center().dot(normal), offset, 1e-6);
  }
};

TEST_F(QuickProbeSidesTest, OneStopFinishesPlanesABoreAndABossEachTowardsItsOwnMaterial) {
  load("plate-bore-boss");
  const StopCase stops[] = {
      {"lifted inside the bore", {0.03, 0.04, 0.005}}, {"lifted above the plate", {0.06, 0.03, 0.05}},
      {"on the top face", {0.06, 0.03, 0.012}},        {"on the side face", {0.05, -0.002, 0.005}},
      {"under the plate", {0.06, 0.03, -0.02}},        {"on the boss's top", {0.085, 0.04, 0.027}}};
  // Turned upside down, a model's normal taken without the placement's turn points into the material.
  const Matrix4x4 upsideDown =
      Matrix4x4::translation({0.1, 0.2, 0.3}) * Matrix4x4::rotation({1, 0, 0}, std::numbers::pi);
  for (const auto& posed : {std::pair{"at the identity", Matrix4x4::identity()},
                            {"placed", placedPose()},
                            {"upside down", upsideDown}}) {
    SCOPED_TRACE(posed.first);
    const Matrix4x4& pose = posed.second;
    ASSERT_TRUE(reference_->setTransform(pose.m));
    start();
    const Matrix4x4 toPart = Matrix4x4::inverse(pose);
    const auto placed = [&](const std::vector<Vector3>& touches) {
      std::vector<Vector3> moved;
      for (const Vector3& p : touches) moved.push_back(Matrix4x4::transformPoint(pose, p));
      return moved;
    };
    for (const StopCase& c : stops) {
      SCOPED_TRACE(c.where);
      probeAll({placed(onTopFace()), placed(inBore()), placed(onSideFace()), placed(aroundBoss()),
                placed(onBossTop())},
               Matrix4x4::transformPoint(pose, c.stop));
      // Each stop probes the same faces again: told, and named apart.
      EXPECT_EQ(errorsButRepeats(), std::u16string());
      // Each plane in the part's own coordinates: its normal and its centre.
      std::map<std::string, std::pair<Vector3, Vector3>> planes;
      std::vector<double> radii;
      for (size_t i = 0; i < 5; ++i) {
        if (auto* plane = queryPart<IZelPlane>(added(i))) {
          const Vector3 normal = Matrix4x4::transformVector(toPart, plane->normal());
          const Vector3 centre = Matrix4x4::transformPoint(toPart, plane->center());
          planes[std::abs(normal.y) > 0.5 ? "side" : centre.z > 0.02 ? "boss top" : "top"] = {normal, centre};
        }
        if (auto* cylinder = queryPart<IZelCylinder>(added(i))) radii.push_back(cylinder->radius());
      }
      for (const auto& [name, normal, offset] : {std::tuple{"top", Vector3{0, 0, 1}, 0.01},
                                                 {"side", Vector3{0, -1, 0}, 0.0},
                                                 {"boss top", Vector3{0, 0, 1}, 0.025}}) {
        SCOPED_TRACE(name);
        EXPECT_NEAR(planes[name].first.dot(normal), 1.0, 1e-8);
        EXPECT_NEAR(planes[name].second.dot(normal), offset, 1e-6);
      }
      std::sort(radii.begin(), radii.end());
      ASSERT_EQ(radii.size(), 2u);
      EXPECT_NEAR(radii[0], 0.01, 1e-6) << "the bore";
      EXPECT_NEAR(radii[1], 0.015, 1e-6) << "the boss";
    }
    command_->deactivate();
  }
}

TEST_F(QuickProbeSidesTest, ABoreWhoseTouchesBulgeIntoItIsRefusedAndNotAdded) {
  load("plate-bore-boss");
  start();
  // Touches of the bore's wall on a small circle whose middle lies in the material beyond the wall: fitted,
  // they make a boss, which the bore's nominal says cannot be. At three heights, so that they determine it.
  const double heights[] = {0.002, 0.008, 0.005};
  int touch = 0;
  for (const double degrees : {145.0, 160.0, 172.0, 188.0, 200.0, 215.0})
    sample(onRound(0.042, 0.04, 0.004, degrees, heights[touch++ % 3]));
  stop({0.03, 0.04, 0.005});
  EXPECT_TRUE(names(u"TestObject").empty());
  EXPECT_NE(errors().find(u"is refused: probed, it has the material on the other side than its nominal."),
            std::u16string::npos);
}

// The device's probe direction at each touch tells which side of a plane the material is on: the top face
// of the placed plate touched with the probe pushing up, out of the plate, is refused, however its stop lies;
// pushing down it is the face.
TEST_F(QuickProbeSidesTest, APlaneWhoseEveryTouchPushedOutOfItsNominalsMaterialIsRefused) {
  load("plate-bore-boss");
  const Matrix4x4 pose = placedPose();
  ASSERT_TRUE(reference_->setTransform(pose.m));
  start();
  const auto probeTopFace = [&](const Vector3& to) {
    for (const Vector3& p : onTopFace())
      sample(Matrix4x4::transformPoint(pose, p), Matrix4x4::transformVector(pose, to));
    stop(Matrix4x4::transformPoint(pose, {0.06, 0.03, 0.05}));
  };
  probeTopFace({0, 0, 1});
  EXPECT_TRUE(names(u"TestObject").empty());
  EXPECT_NE(errors().find(u"is refused: the probe came to it from the side where the reference model has "
                          u"material."),
            std::u16string::npos);
  const std::u16string refused = errors();
  probeTopFace({0, 0, -1});
  EXPECT_EQ(errors(), refused);
  ASSERT_EQ(names(u"TestObject").size(), 1u);
  auto* plane = queryPart<IZelPlane>(feature(u"TestObject", 0));
  ASSERT_TRUE(plane);
  const Matrix4x4 toPart = Matrix4x4::inverse(pose);
  EXPECT_NEAR(Matrix4x4::transformVector(toPart, plane->normal()).z, 1.0, 1e-8);
  EXPECT_NEAR(Matrix4x4::transformPoint(toPart, plane->center()).z, 0.01, 1e-6);
}

// The top face, the bore and the boss touched from the side the reference model calls material (a part
// upside down in its fixture, a model with a boss where the part has a bore), the part placed anywhere and
// the stylus held any way: where the device reported the ball refuses each, naming the model's side, and
// nothing two radii off is made; touched from the model's free side, each is its nominal.
TEST_F(QuickProbeSidesTest, AFeatureTouchedFromTheModelsMaterialSideIsRefusedNamingItWhateverTheStylus) {
  load("plate-bore-boss");
  std::mt19937 random(90);
  const auto uniform = [&](double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(random);
  };
  // Each feature's touches and the side the model's air lies on at a touch.
  const Vector3 bore{0.03, 0.04, 0}, boss{0.085, 0.04, 0};
  const struct {
    std::vector<Vector3> touches;
    std::function<Vector3(const Vector3&)> air;
    double radius;  // 0 for the plane
  } features[] = {
      {onTopFace(), [](const Vector3&) { return Vector3(0, 0, 1); }, 0},
      {inBore(),
       [&](const Vector3& p) {
         return Vector3::perpendicularPart(bore - p, {0, 0, 1}).normalized();
       },
       0.01},
      {aroundBoss(),
       [&](const Vector3& p) {
         return Vector3::perpendicularPart(p - boss, {0, 0, 1}).normalized();
       },
       0.015},
  };
  for (int run = 0; run < 18; ++run) {
    SCOPED_TRACE(run);
    const Matrix4x4 pose = randomPose(random);
    ASSERT_TRUE(reference_->setTransform(pose.m));
    if (command_) command_->deactivate();
    host_.core().errors().clear();
    start();
    const auto& probed = features[run % 3];
    const bool fromMaterial = run / 3 % 2 == 1;
    const size_t made = names(u"TestObject").size();
    const Vector3 stylus = Matrix4x4::transformVector(
        pose, Vector3(uniform(-1, 1), uniform(-1, 1), uniform(-1, 1)).normalized());
    for (const Vector3& onFree : probed.touches) {
      const Vector3 from = probed.air(onFree) * (fromMaterial ? -1 : 1);
      const Vector3 touch = fromMaterial ? onFree + from * (2 * kProbeRadius) : onFree;
      move(Matrix4x4::transformPoint(pose, touch + from * uniform(0.6, 1.9) * kProbeRadius), stylus);
      sample(Matrix4x4::transformPoint(pose, touch), stylus);
    }
    stop(Matrix4x4::transformPoint(pose, {0.06, 0.03, 0.05}));
    if (fromMaterial) {
      EXPECT_EQ(names(u"TestObject").size(), made);
      EXPECT_NE(errors().find(u"is refused: the probe came to it from the side where the reference model has "
                              u"material."),
                std::u16string::npos)
          << testing::PrintToString(errors());
      continue;
    }
    EXPECT_EQ(errors(), std::u16string());
    ASSERT_EQ(names(u"TestObject").size(), made + 1);
    IZelFeature* added = feature(u"TestObject", static_cast<int32_t>(made));
    if (auto* cylinder = queryPart<IZelCylinder>(added)) {
      EXPECT_NEAR(cylinder->radius(), probed.radius, 1e-6);
      continue;
    }
    auto* plane = queryPart<IZelPlane>(added);
    ASSERT_TRUE(plane);
    const Matrix4x4 toPart = Matrix4x4::inverse(pose);
    EXPECT_NEAR(Matrix4x4::transformVector(toPart, plane->normal()).z, 1.0, 1e-8);
    EXPECT_NEAR(Matrix4x4::transformPoint(toPart, plane->center()).z, 0.01, 1e-6);
  }
}

TEST_F(QuickProbeSidesTest, ACountersinkWithTooFewTouchesKeepsThemAndSaysWhatItNeeds) {
  load("plate-countersink");
  start();
  // Probe centres 2 mm off the 45° countersink (radius 0.004 + (z - 0.006) about x = 0.05, y = 0.04).
  const auto onCone = [](double degrees, double z) {
    const double offset = kProbeRadius / std::numbers::sqrt2;
    return onRound(0.05, 0.04, 0.004 + (z - 0.006) - offset, degrees, z + offset);
  };
  const double degrees[] = {0, 50, 100, 160, 210, 260, 320};
  for (int i = 0; i < 6; ++i) sample(onCone(degrees[i], i % 2 ? 0.0075 : 0.0085));
  stop({0.05, 0.04, 0.02});
  EXPECT_TRUE(names(u"TestObject").empty());
  EXPECT_EQ(
      errors(),
      u"Not recognised: Cone 1 was not made: 1 more point is needed. Its points are kept. Probe more and "
      u"stop again.");
  sample(onCone(degrees[6], 0.008));
  stop({0.05, 0.04, 0.02});
  ASSERT_EQ(names(u"TestObject").size(), 1u) << testing::PrintToString(errors());
  EXPECT_TRUE(queryPart<IZelCone>(feature(u"TestObject", 0)));
}

TEST_F(QuickProbeSidesTest, TheTemporaryNominalKeepsOneNameAndTheNewObjectIsTheFeatureObject) {
  load("plate-bore");
  start();
  std::vector<std::u16string> shown;
  for (int i = 0; i < 3; ++i) {
    move(onBore(0, 0.005));
    shown.push_back(names(u"RefObject").back());
    move({0.01, 0.01, 0.012});
  }
  EXPECT_EQ(shown, std::vector<std::u16string>(3, shown[0]));
  IZelDocObject* target = host_.document().doc().findObject(ZelString(u"TestObject"));
  ASSERT_TRUE(target);
  EXPECT_EQ(text(target->objectName()), u"Feature Object");
}

// The boss shown first takes the name "Cylinder 1" for a while; the bore probed then is "Cylinder 1", and its
// nominal holds that name for good: the boss, shown again, is shown under another.
TEST_F(QuickProbeSidesTest, ATemporaryNominalNeverSharesItsNameWithANominalAddedSince) {
  load("plate-bore-boss");
  start();
  move(aroundBoss()[0]);
  const std::vector<std::u16string> shown = names(u"RefObject");
  probeAll({inBore()}, {0.03, 0.04, 0.005});
  ASSERT_EQ(names(u"RefObject"), shown) << "the bore's nominal under the name the boss was shown with";
  move(aroundBoss()[0]);
  const std::vector<std::u16string> both = names(u"RefObject");
  ASSERT_EQ(both.size(), 2u);
  EXPECT_NE(both[0], both[1]);
}

TEST_F(QuickProbeSidesTest, ThePartsOutlineIsNoSlotItsTouchesGoToTheSideFace) {
  load("plate-bore");
  start();
  // The top plane probed first, whose nominal makes the outline beside it recognisable; then touches on the
  // side face at y = 0 just below its top edge.
  probeTopPlane();
  for (const Vector3& p : {Vector3{0.02, -0.002, 0.009}, {0.05, -0.002, 0.0085}, {0.08, -0.002, 0.0092}})
    sample(p);
  stop({0.05, -0.01, 0.009});
  EXPECT_EQ(errors(), std::u16string());
  ASSERT_EQ(names(u"TestObject").size(), 2u);
  expectPlane(queryPart<IZelPlane>(added(0)), {0, -1, 0}, 0.0);
}

TEST_F(QuickProbeSidesTest, ATouchOnAFreeFormFaceIsToldItIsNoFeatureQuickProbeMeasures) {
  load("plate-freeform-boss");
  start();
  sample(onRound(0.05, 0.04, 0.017, 30, 0.018));
  EXPECT_EQ(errors(), u"this face is not a feature Quick Probe measures");
}

TEST_F(QuickProbeSidesTest, APocketsWallsTouchedJustBelowTheRimGiveThePocketsOutline) {
  // The example pocket with its top face listed last, so that every rim edge has a wall as its first face.
  reference_ =
      loadCadModel(host_.document().doc(), u"RefObject",
                   std::string(PALPERA_TEST_SOURCE_DIR) + "/commands/quick_probe/pocket-walls-first.step");
  start();
  // The top plane probed first, whose nominal makes the rim beside it recognisable; then nine touches on the
  // pocket's walls (x 0.03 to 0.07, y 0.03 to 0.05) half a millimetre below the rim, nearer the rim than
  // the allowance.
  probeTopPlane();
  const double z = 0.0095;
  for (const Vector3& p : {Vector3{0.04, 0.032, z},
                           {0.05, 0.032, z},
                           {0.06, 0.032, z},
                           {0.068, 0.036, z},
                           {0.068, 0.044, z},
                           {0.055, 0.048, z},
                           {0.045, 0.048, z},
                           {0.032, 0.044, z},
                           {0.032, 0.036, z}})
    sample(p);
  stop({0.05, 0.04, 0.0095});
  EXPECT_EQ(errors(), std::u16string());
  auto* pocket = queryPart<IZelRectangularSlot>(added(0));
  ASSERT_TRUE(pocket);
  EXPECT_NEAR(pocket->length(), 0.04, 1e-6);
  EXPECT_NEAR(pocket->width(), 0.02, 1e-6);
  EXPECT_NEAR(pocket->center().x, 0.05, 1e-6);
  EXPECT_NEAR(pocket->center().y, 0.04, 1e-6);
}

// A shaft's end bore is 10 mm narrower than the shaft and shares its axis: probed after the shaft, or before
// it, each is a cylinder of its own, named after its own nominal and of that nominal's size.
TEST_F(QuickProbePlacedTest, ACoaxialBoreAndShaftAreEachNamedAfterANominalOfItsOwnSize) {
  load("plate-shaft-bore");
  const Matrix4x4 pose = placedPose();
  ASSERT_TRUE(reference_->setTransform(pose.m));
  host_.core().dataStore().setInt(nullptr, "Palpera/FeatureMatching/Enable", 1);
  const auto at = [&](double reach, double degrees, double z) {
    return Matrix4x4::transformPoint(pose, onRound(0.06, 0.06, reach, degrees, z));
  };
  // The wall's radius, the ball centre's and the stop's distance from the axis.
  const std::array<double, 3> shaft{0.046482, 0.046482 + kRadius, 0.046482 + 4 * kRadius};
  const std::array<double, 3> bore{0.0365125, 0.0365125 - kRadius, 0};
  for (const auto& order : {std::array{shaft, bore}, std::array{bore, shaft}}) {
    SCOPED_TRACE(order[0] == shaft ? "the shaft first" : "the bore first");
    removeFeatures();
    startWithRadius();
    for (const auto& [radius, reach, stopReach] : order) {
      int touch = 0;
      for (const double degrees : {20.0, 60.0, 100.0, 200.0, 250.0, 300.0})
        sample(at(reach, degrees, 0.04 + 0.005 * (touch++ % 3)));
      stop(at(stopReach, 0, 0.045));
    }
    end();
    EXPECT_EQ(errors(), std::u16string());
    ASSERT_EQ(names(u"TestObject").size(), 2u);
    EXPECT_NE(names(u"TestObject")[0], names(u"TestObject")[1]);
    ASSERT_EQ(names(u"RefObject"), names(u"TestObject"));
    for (int32_t i = 0; i < 2; ++i) {
      ASSERT_EQ(kindMatching(feature(u"TestObject", i), feature(u"RefObject", i), pose), "cylinder");
      EXPECT_NEAR(queryPart<IZelCylinder>(feature(u"RefObject", i))->radius(), order[i][0], 1e-9);
    }
  }
}

// Before any plane is probed, touches near a face's edge are the face's: a 6 mm ball on the plate's top face
// (its outline no slot, its edges lines), two of five touches 1.4 and 2.7 mm inside an edge, first or last,
// make the plane alone.
TEST_F(QuickProbePlacedTest, TouchesNearAnEdgeOfTheFirstFaceProbedAreThatFacesPlane) {
  load("plate-shaft-bore");
  constexpr double kBall = 0.003, z = 0.01 + kBall;
  std::vector<Vector3> touches{
      {0.01, 0.01, z}, {0.02, 0.008, z}, {0.008, 0.02, z}, {0.025, 0.0014, z}, {0.035, 0.0027, z}};
  for (const char* order : {"near the edge last", "near the edge first"}) {
    SCOPED_TRACE(order);
    removeFeatures();
    const Matrix4x4 pose = placed();
    device_->deliver<IZelHardProbeDataReceiver>(
        [&](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kBall); });
    for (const Vector3& p : touches) sample(Matrix4x4::transformPoint(pose, p));
    stop(Matrix4x4::transformPoint(pose, {0.015, 0.015, 0.03}));
    end();
    EXPECT_EQ(errors(), std::u16string());
    ASSERT_EQ(names(u"TestObject").size(), 1u);
    ASSERT_EQ(names(u"RefObject"), names(u"TestObject")) << "no line beside it";
    EXPECT_EQ(kindMatching(feature(u"TestObject", 0), feature(u"RefObject", 0), pose), "plane");
    std::rotate(touches.begin(), touches.begin() + 3, touches.end());
  }
}

// The undo key takes back touches newest first, never one of a feature a stop finished: two bore touches stay
// beside the top plane the first stop makes; two on the front face and three undos, each taking its touch
// off the drawing, leave the bore one touch; five more make it a cylinder of six.
TEST_F(QuickProbeCmdTest, UndoTakesBackTheNewestTouchesOfUnfinishedFeaturesAndTheirDrawing) {
  load("plate-bore");
  start();
  const auto touchesOf = [](IZelFeature* feature) {  // the sampled points its probing record keeps
    IZelParameter* at = feature->getParameter(ZelString(u"<ProbeConstruction>"));
    for (const char16_t* key : {u"<Parameters>", u"<SampledPoints>"}) {
      auto* table = queryPart<IZelParameterTable>(at);
      at = table ? table->getParameter(ZelString(key)) : nullptr;
    }
    auto* sampled = queryPart<IZelVectorsValue>(at);
    return sampled ? sampled->count() : -1;
  };
  for (const auto& [degrees, z] : {std::pair{20.0, 0.004}, {60.0, 0.005}}) sample(onBore(degrees, z));
  for (const auto& [x, y] : {std::pair{0.01, 0.01}, {0.09, 0.015}, {0.085, 0.07}})
    sample({x, y, 0.01 + kProbeRadius});
  stop({0.02, 0.07, 0.02});
  ASSERT_EQ(names(u"TestObject"), std::vector<std::u16string>{u"Plane 1"});
  for (const double x : {0.03, 0.07}) sample({x, -kProbeRadius, 0.005});
  ASSERT_EQ(pointsDrawn(), 2);
  for (const int32_t drawnAfter : {1, 0, 0}) {
    device_->deliver<IZelHardProbeDataReceiver>(
        [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("UndoLastSampled"), nullptr); });
    EXPECT_EQ(pointsDrawn(), drawnAfter);
  }
  for (const auto& [degrees, z] :
       {std::pair{100.0, 0.0045}, {160.0, 0.005}, {200.0, 0.0055}, {250.0, 0.004}, {300.0, 0.006}})
    sample(onBore(degrees, z));
  stop({0.05, 0.04, 0.005});
  ASSERT_EQ(names(u"TestObject"), (std::vector<std::u16string>{u"Plane 1", u"Cylinder 1"}));
  EXPECT_EQ(touchesOf(feature(u"TestObject", 0)), 3);
  EXPECT_EQ(touchesOf(feature(u"TestObject", 1)), 6);
}

// A reference slot whose recreation record names one surface, the wall of its +x end, as a host that makes a
// slot from its wall's faces records it: a touch on that wall goes to the slot, whose collector cannot take
// it without its work plane, which only the rim beside a known plane gives. The touch is not taken, and the
// operator is told so, before and after the top plane is probed, with balls of 2 and 6 mm; nothing of it is
// drawn or kept.
TEST_F(QuickProbePlacedTest, ATouchThatNoFeatureTakesIsToldAndNotKept) {
  load("plate-oval-slot");
  QuickProbeRecognizer recreation;
  ASSERT_TRUE(
      recreation.attach(queryPart<IZelMeshExt>(reference_->subObject("SurfModel")), reference_->modelId()));
  recreation.setProbeRadius(kProbeRadius);
  IPtr<IZelFeature> slot = recreation.recreateEdge(recreation.nearestFaceOrEdge(kNearRim).edge, nullptr);
  ASSERT_TRUE(queryPart<IZelOvalSlot>(slot.get()));
  const int32_t wall = recreation.nearestFaceOrEdge({0.069, 0.04, 0.005}).face;
  ASSERT_NE(wall, QuickProbeRecognizer::kNone);
  IPtr<HostParameterTable> record(new HostParameterTable);
  IPtr<HostIntValue> face(new HostIntValue);
  face->setValue(wall);
  record->setParameter(ZelString(u"<Face Identifier>"), face.get());
  IPtr<HostBitVectorArray> faces(new HostBitVectorArray);
  BitVector wallFaces(wall + 1);
  wallFaces.set(wall);
  faces->append(wallFaces);
  record->setParameter(ZelString(u"<CadFaceBvs>"), faces.get());
  slot->setParameter(ZelString(u"<Construction>"), record.get());
  IPtr<IZelFeatureSubObject> made;
  made.takeOwnership(getFeatureSubObjectMgr(reference_.get())->createSubObject(slot.get()));
  made->setName(ZelString(u"Reference slot"));
  subObjects(u"RefObject")->addSubObject(made.get());
  for (const double ball : {0.001, 0.003}) {
    for (const bool planeFirst : {false, true}) {
      SCOPED_TRACE(std::to_string(ball) + (planeFirst ? ", the top plane probed first" : ""));
      host_.core().errors().clear();
      const Matrix4x4 pose = placed();
      device_->deliver<IZelHardProbeDataReceiver>(
          [&](IZelHardProbeDataReceiver* r) { r->setProbeRadius(ball); });
      if (planeFirst) {
        for (const Vector3& p :
             {Vector3{0.01, 0.01, 0.01 + ball}, {0.09, 0.01, 0.01 + ball}, {0.02, 0.07, 0.01 + ball}})
          sample(Matrix4x4::transformPoint(pose, p));
        stop(Matrix4x4::transformPoint(pose, {0.02, 0.02, 0.05}));
      }
      ASSERT_EQ(errors(), std::u16string());
      sample(Matrix4x4::transformPoint(pose, {0.071 - ball, 0.04, 0.005}));
      EXPECT_EQ(errors(),
                u"this touch lies on no feature of the reference model that Quick Probe can place; it is not "
                u"taken");
      EXPECT_EQ(pointsDrawn(), 0);
      finisher_.finished.clear();
      stop(Matrix4x4::transformPoint(pose, {0.065, 0.04, 0.005}));
      EXPECT_EQ(finisher_.finished, std::vector<bool>{true})
          << "nothing to finish: the stop ends the command";
      end();
    }
  }
}

// One probed feature stands for one nominal, with matching on, the part placed: a second probe of the bore
// is named apart from it; a bore probed with its axis beyond the matching's 5 degrees is named after no
// nominal; a reference feature of the bore that no recreation record ties to its face is its nominal, and
// no second nominal of it is added. Each is told.
// What RefObject holds before the run, made by hand: nothing, the bore as "Bore", or a cylinder elsewhere
// under the first name a probed cylinder would take.
enum class Held { kNothing, kBore, kOtherAsCylinder1 };

struct OneNominalCase {
  const char* what;
  Held held;
  double tilt;  // degrees the probed axis leans off the bore's
  int probes;
  std::vector<std::u16string> probed, nominals;
  const char16_t* told;
};

void PrintTo(const OneNominalCase& c, std::ostream* out) {
  *out << c.what;
}

class QuickProbeOneNominalTest : public QuickProbePlacedTest,
                                 public testing::WithParamInterface<OneNominalCase> {};

TEST_P(QuickProbeOneNominalTest, EachNominalStandsForOneProbedFeatureWithinTheMatchingTolerances) {
  const OneNominalCase& c = GetParam();
  load("plate-bore");
  const Matrix4x4 pose = placedPose();
  ASSERT_TRUE(reference_->setTransform(pose.m));
  host_.core().dataStore().setInt(nullptr, "Palpera/FeatureMatching/Enable", 1);
  if (c.held != Held::kNothing) {
    const bool bore = c.held == Held::kBore;
    const Vector3 foot = bore ? Vector3{0.05, 0.04, 0} : Vector3{0.02, 0.02, 0};
    IPtr<HostCylinder> cylinder(new HostCylinder);
    ASSERT_TRUE(cylinder->redefine(foot, foot + Vector3{0, 0, 0.01}, bore ? 0.01 : 0.003, {1, 0, 0}, nullptr,
                                   nullptr, nullptr));
    IPtr<IZelFeatureSubObject> made;
    made.takeOwnership(getFeatureSubObjectMgr(reference_.get())->createSubObject(cylinder.get()));
    made->setName(ZelString(bore ? u"Bore" : u"Cylinder 1"));
    subObjects(u"RefObject")->addSubObject(made.get());
  }
  start();
  // Ball centres on the bore's wall leaning about x through its middle, at three heights.
  const double lean = c.tilt * std::numbers::pi / 180;
  const Vector3 middle{0.05, 0.04, 0.005}, axis{0, -std::sin(lean), std::cos(lean)}, across{1, 0, 0};
  const Vector3 side = Vector3::cross(axis, across);
  for (int probe = 0; probe < c.probes; ++probe) {
    int touch = 0;
    for (const double degrees : {20.0, 60.0, 100.0, 200.0, 250.0, 300.0}) {
      const double a = degrees * std::numbers::pi / 180, height = 0.0015 * (touch++ % 3 - 1);
      sample(Matrix4x4::transformPoint(
          pose,
          middle + (across * std::cos(a) + side * std::sin(a)) * (0.01 - kProbeRadius) + axis * height));
    }
    stop(Matrix4x4::transformPoint(pose, middle));
  }
  end();
  EXPECT_EQ(names(u"TestObject"), c.probed);
  EXPECT_EQ(names(u"RefObject"), c.nominals);
  EXPECT_EQ(errors(), c.told);
}

using Names = std::vector<std::u16string>;

INSTANTIATE_TEST_SUITE_P(
    Cases, QuickProbeOneNominalTest,
    testing::Values(
        // clang-format off
        OneNominalCase{"probed twice", Held::kNothing, 0, 2, Names{u"Cylinder 1", u"Cylinder 2"},
                       Names{u"Cylinder 1"},
                       u"Cylinder 1 is probed again; this probe is added as Cylinder 2, which no nominal "
                       u"stands for."},
        OneNominalCase{"7 degrees off", Held::kNothing, 7, 1, Names{u"Cylinder 1"}, Names{},
                       u"The probed Cylinder 1 lies beyond the matching tolerances of its nominal; it is "
                       u"added as Cylinder 1 and no nominal is named after it."},
        OneNominalCase{"4 degrees off", Held::kNothing, 4, 1, Names{u"Cylinder 1"}, Names{u"Cylinder 1"},
                       u""},
        OneNominalCase{"held", Held::kBore, 0, 1, Names{u"Bore"}, Names{u"Bore"}, u""},
        OneNominalCase{"held, 7 degrees off", Held::kBore, 7, 1, Names{u"Cylinder 1"}, Names{u"Bore"},
                       u"The probed Bore matches no reference feature; it is added as Cylinder 1."},
        OneNominalCase{"held, probed twice", Held::kBore, 0, 2, Names{u"Bore", u"Cylinder 1"},
                       Names{u"Bore"},
                       u"Bore is probed again; this probe is added as Cylinder 1, which no nominal stands "
                       u"for."},
        OneNominalCase{"another cylinder under the first name", Held::kOtherAsCylinder1, 0, 1,
                       Names{u"Cylinder 2"}, Names{u"Cylinder 1", u"Cylinder 2"}, u""}),
    // clang-format on
    [](const testing::TestParamInfo<OneNominalCase>& info) {
      std::string name;
      for (const char ch : std::string(info.param.what))
        if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
      return name;
    });
