// "Orient To World" run by the host's command runner, with the emulator as the current hard-probe plug-in
// and a test device as "HardProbe".

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "commands/alignment/common/device_transform_steps.h"
#include "commands/transform/matrix_widget.h"
#include "framework/host_glue/unit_service.h"
#include "framework/subject/zel_subject.h"
#include "host/cad/brep_model.h"
#include "host/cad/cad_model.h"
#include "host/document/host_document.h"
#include "platform/utf8.h"
#include "support/expect_matrix_near.h"
#include "support/scratch_directory.h"
#include "support/text.h"
#include "tests/commands/support/hard_probe_command_fixture.h"

namespace {

enum : int32_t {
  kMainBox = 0,
  kInstructions = 1,
  kMethods = 2,
  kTestObject = 3,
  kFile = 5,
  kIdentity = 7,
  kPlanes = 9,
  kMoveDevice = 11,
  kPluginBox = 13,
  kPluginName = 14,
  kStartProbing = 15,
  kShowPosition = 16,
  kStandard0 = -20000,
  kStandard1 = -19999,
  kStandard2 = -19998,
};

const Matrix4x4 kH0 = Matrix4x4::translation({0.5, 0.4, 0.3}) * Matrix4x4::rotation({0, 1, 0}, 0.3);
const Matrix4x4 kQ = Matrix4x4::translation({0.1, -0.2, 0.05}) * Matrix4x4::rotation({1, 1, 1}, 0.2);

class OrientToWorld : public HardProbeCommandTest {
 protected:
  void SetUp() override {
    HardProbeCommandTest::SetUp();
    reference_ = addCadModel(host_.document().doc(), u"RefObject", boxModel({0, 0, 0}, {0.2, 0.1, 0.02}));
  }

  CommandRunner::Start start() { return HardProbeCommandTest::start("PalperaAlignmentCmd"); }
  int32_t box(const std::u16string& widget) { return dialog().idOf(u":" + widget + u":Box").value_or(-1000); }
  IZelSubject* subjectOf(const std::u16string& widget) {
    std::optional<DialogControl> control = dialog().control(box(widget));
    return control ? queryPart<IZelSubject>(control->receiver) : nullptr;
  }
  // The four rows the command's matrix display shows.
  std::u16string shown() {
    std::u16string rows;
    for (int32_t r = 1; r <= 4; ++r) rows += dialog().control(box(u"MatrixWidget") + r)->text + u"\n";
    return rows;
  }
  // The rows a matrix display shows for matrix.
  std::u16string rowsOf(const Matrix4x4& matrix) {
    IPtr<IZelWidget> widget;
    widget.createInstance(classIdOf("MatrixWidget"));
    widget->setName("Expected");
    widget->buildGui(&dialog(), nullptr);
    auto* display = queryPart<MatrixWidget>(widget.get());
    display->setMatrix(matrix.m);
    std::u16string rows;
    for (int32_t r = 1; r <= 4; ++r) rows += dialog().control(display->idBase() + r)->text + u"\n";
    return rows;
  }
  Matrix4x4 scale() {
    SPtr<IZelPluginDeviceScaleAlignmentService> service;
    return *service->matrix();
  }
  IPtr<HostDocObject> addTestObject(const Matrix4x4& transform) {
    DocObjectDescription description;
    description.type = "Point";
    description.name = u"TestObject";
    description.transform.emplace();
    std::copy(transform.m, transform.m + 16, description.transform->begin());
    return host_.document().doc().add(std::move(description), false);
  }

  IPtr<HostDocObject> reference_;
};

TEST_F(OrientToWorld, RunsOnlyOutsideCommandsAndMacrosAndWhenTheEmulatorHasItsReference) {
  host_.gui().commandContainer().setRecordingMacro(true);
  EXPECT_EQ(start(), CommandRunner::Start::kCannotRun);
  host_.gui().commandContainer().setRecordingMacro(false);
  host_.gui().commandContainer().setInCommand(true);
  EXPECT_EQ(start(), CommandRunner::Start::kCannotRun);
  host_.gui().commandContainer().setInCommand(false);
  reference_->setObjectName(ZelString(u"Part"));
  EXPECT_EQ(start(), CommandRunner::Start::kActivationRefused) << "the emulator has nothing to probe";
  ASSERT_EQ(host_.core().errors().reports().size(), 1u);
  EXPECT_EQ(host_.core().errors().reports()[0].message,
            u"\"Orient To World\" needs a reference model named \"RefObject\", loaded and active.");
  host_.core().errors().clear();
  reference_->setObjectName(ZelString(u"RefObject"));
  EXPECT_EQ(start(), CommandRunner::Start::kStarted);
  EXPECT_EQ(*command_->name(), ZelString(u"Orient To World"));
}

TEST_F(OrientToWorld, ActivationConnectsShowsThePlugInAndOffersTheMethodsItCan) {
  ASSERT_TRUE(UnitService::setCurrentLengthUnit(7));
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  EXPECT_EQ(UnitService::currentLengthUnit(), 1) << "metres become millimetres";
  EXPECT_EQ(journal_.front(), "connect HardProbe");
  EXPECT_EQ(dialog().control(kInstructions)->text,
            u"<b>1.</b> Click an icon to specify the axis direction of the primary alignment plane.\n"
            u"<b>2.</b> Click an icon to specify the axis direction of the secondary alignment plane.\n"
            u"<b>3.</b> Click <b>Probe Points</b> to define corresponding planes on the Test object.");
  EXPECT_EQ(dialog().control(kPluginName)->text, u"Hard Probe Emulator");
  EXPECT_EQ(dialog().control(15)->text, u"Probe Points");
  EXPECT_EQ(dialog().control(kShowPosition)->text, u"Show Position");
  for (int32_t radio : {kTestObject, kFile, kIdentity, kPlanes, kMoveDevice})
    EXPECT_EQ(dialog().control(radio)->group, kMethods) << radio;
  EXPECT_TRUE(enabled(kMethods));
  EXPECT_FALSE(enabled(kTestObject)) << "no TestObject in the document";
  EXPECT_FALSE(dialog().chooseRadio(kTestObject));
  EXPECT_FALSE(enabled(kStandard2));
  EXPECT_FALSE(enabled(kPluginBox));
  EXPECT_FALSE(enabled(box(u"TransformFileWidget")));
  EXPECT_FALSE(enabled(box(u"MoveDeviceWidget")));
  EXPECT_TRUE(enabled(box(u"Alignment321Widget")));
  EXPECT_TRUE(enabled(box(u"MatrixWidget")));
  // Built in this order: each part takes its ids after those of the one before.
  const int32_t built[] = {
      *dialog().idOf(u"Instructions"), box(u"TransformFileWidget"), box(u"Alignment321Widget"),
      *dialog().idOf(u"Probe"),        box(u"MatrixWidget"),        box(u"MoveDeviceWidget")};
  EXPECT_TRUE(std::is_sorted(std::begin(built), std::end(built)));
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(journal_.back(), "disconnect HardProbe");

  ASSERT_TRUE(UnitService::setCurrentLengthUnit(3));
  addTestObject(Matrix4x4::identity());
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  EXPECT_TRUE(enabled(kTestObject));
  EXPECT_EQ(UnitService::currentLengthUnit(), 3) << "only metres are changed";
}

TEST_F(OrientToWorld, ActivationWithoutAConnectedDeviceIsRefusedWithTheMessage) {
  device_->answers.connect = false;
  EXPECT_EQ(start(), CommandRunner::Start::kActivationRefused);
  devices_->setDevice(ZelCString("HardProbe"), nullptr);
  EXPECT_EQ(start(), CommandRunner::Start::kActivationRefused);
  ASSERT_EQ(host_.core().errors().reports().size(), 2u);
  for (const RecordingErrorService::Report& report : host_.core().errors().reports())
    EXPECT_EQ(report.message, u"Unable to connect to hard probe device.");
}

// Each method enables only its own widget; the identity goes to the device at once, and the display shows
// what the device then works with: the temperature scale on top of it.
TEST_F(OrientToWorld, EachMethodEnablesItsOwnWidgetAndTheIdentityIsSetAtOnce) {
  setTemperatureScale();
  setDeviceTransform(*plugin_, kH0, nullptr);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  EXPECT_EQ(shown(), rowsOf(kH0 * scale()));
  const struct {
    int32_t method;
    const char16_t* widget;
  } cases[] = {
      {kFile, u"TransformFileWidget"}, {kPlanes, u"Alignment321Widget"}, {kMoveDevice, u"MoveDeviceWidget"}};
  for (const auto& chosen : cases) {
    SCOPED_TRACE(chosen.method);
    ASSERT_TRUE(dialog().chooseRadio(chosen.method));
    for (const auto& each : cases) EXPECT_EQ(enabled(box(each.widget)), &each == &chosen);
    expectMatrixNear(plugin_->hardwareMatrix(), kH0, 0);
  }
  ASSERT_TRUE(dialog().chooseRadio(kIdentity));
  for (const auto& each : cases) EXPECT_FALSE(enabled(box(each.widget)));
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
  expectMatrixNear(committedHardware(), Matrix4x4::identity(), 0);
  EXPECT_EQ(shown(), rowsOf(scale()));

  // Cancel gives back the hardware matrix itself, not the one with the scale in it.
  ASSERT_TRUE(runner_.cancel());
  expectMatrixNear(plugin_->hardwareMatrix(), kH0, 0);
  expectMatrixNear(committedHardware(), kH0, 0);
}

TEST_F(OrientToWorld, TheTestObjectsPlacementCarriesTheActivationMatrixOnlyWhenItIsAProperMotion) {
  setTemperatureScale();
  setDeviceTransform(*plugin_, kH0, nullptr);
  IPtr<HostDocObject> testObject = addTestObject(kQ);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(dialog().chooseRadio(kIdentity));
  ASSERT_TRUE(dialog().chooseRadio(kTestObject));
  expectMatrixNear(plugin_->hardwareMatrix(), kQ * kH0, 1e-15);
  EXPECT_EQ(shown(), rowsOf(kQ * kH0 * scale()));

  Matrix4x4 mirrored = kQ * Matrix4x4::scaling(1, 1, -1);
  Matrix4x4 projective = kQ;
  projective.m[14] = 1e-9;
  for (const Matrix4x4& refused : {mirrored, projective}) {
    ASSERT_TRUE(dialog().chooseRadio(kIdentity));
    ASSERT_TRUE(testObject->setTransform(refused.m));
    ASSERT_TRUE(dialog().chooseRadio(kTestObject));
    expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
  }
  ASSERT_TRUE(runner_.cancel());
  expectMatrixNear(plugin_->hardwareMatrix(), kH0, 0);
}

// The transform a widget announces goes through the device steps: the stored object alignment is taken into
// the display once, and the device is left with its hardware and scale matrices.
TEST_F(OrientToWorld, ANewTransformFromEachWidgetBecomesTheHardwareMatrix) {
  setTemperatureScale();
  const Matrix4x4 objectAlignment = Matrix4x4::translation({0, 0, 0.01});
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  for (const char16_t* widget : {u"TransformFileWidget", u"Alignment321Widget", u"MoveDeviceWidget"}) {
    SCOPED_TRACE(platform::toUtf8(widget));
    SPtr<IZelPluginDeviceObjectAlignmentService> object;
    object->setMatrix(objectAlignment);
    IZelSubject* subject = subjectOf(widget);
    ASSERT_TRUE(subject);
    subject->notify("NewTransform", nullptr);
    expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
    Matrix4x4 announced = kQ;
    subject->notify("NewTransform", announced.m);
    expectMatrixNear(plugin_->hardwareMatrix(), kQ, 0);
    EXPECT_EQ(shown(), rowsOf(objectAlignment * kQ * scale()));
    Matrix4x4 combined;
    expectMatrixNear(plugin_->deviceMatrix(combined), kQ * scale(), 1e-15);
    setDeviceTransform(*plugin_, Matrix4x4::identity(), nullptr);
  }
}

TEST_F(OrientToWorld, AMatrixSavedWithTheFileWidgetLoadsBackBitForBit) {
  ScratchDirectory scratch;
  setTemperatureScale();
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  IZelSubject* files = subjectOf(u"TransformFileWidget");
  ASSERT_TRUE(files);
  Matrix4x4 saved = kQ * kH0;
  files->notify("NewTransform", saved.m);
  ASSERT_TRUE(dialog().chooseRadio(kFile));
  host_.files().dialogs().queueAnswer(ScriptedFileDialogs::Answer{text(scratch.module("orient")), 0});
  ASSERT_TRUE(dialog().pressButton(box(u"TransformFileWidget") + 3));
  ASSERT_TRUE(dialog().chooseRadio(kIdentity));
  ASSERT_TRUE(dialog().chooseRadio(kFile));
  host_.files().dialogs().queueAnswer(ScriptedFileDialogs::Answer{text(scratch.module("orient.tfm")), 0});
  ASSERT_TRUE(dialog().pressButton(box(u"TransformFileWidget") + 2));
  expectMatrixNear(plugin_->hardwareMatrix(), saved, 0);
}

TEST_F(OrientToWorld, ShowPositionHoldsItsReceiversUntilTheStopAndNoneWhenItCannotStart) {
  host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(dialog().pressButton(kShowPosition));
  EXPECT_EQ(device_->receiverCount(), 2u) << "the stop receiver and the drawn probe";
  const std::vector<HostGfxDoc::Fit>& fits = host_.document().graphics().fits();
  ASSERT_EQ(fits.size(), 1u);
  EXPECT_FALSE(fits[0].option) << "the view fitted to the scene, the probe left out";
  for (int32_t control : {kMainBox, kStandard0, kStandard1}) EXPECT_FALSE(enabled(control)) << control;
  device_->deliver<IZelHardProbeDataReceiver>([](IZelHardProbeDataReceiver* r) { r->onPointStop({}); });
  EXPECT_EQ(device_->receiverCount(), 0u);
  for (int32_t control : {kMainBox, kStandard0, kStandard1}) EXPECT_TRUE(enabled(control)) << control;

  device_->answers.start = false;
  ASSERT_TRUE(dialog().pressButton(kShowPosition));
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_TRUE(enabled(kMainBox));

  // A widget's probing run switches the controls off and back on.
  IZelSubject* wizard = subjectOf(u"MoveDeviceWidget");
  wizard->notify("ProbeStart", nullptr);
  EXPECT_FALSE(enabled(kStandard1));
  wizard->notify("ProbeStop", nullptr);
  EXPECT_TRUE(enabled(kStandard1));
}

// While the position shows or a widget probes, the method cannot change: a transform set then would mix
// frames in the run, and another widget could start a second run on the device.
TEST_F(OrientToWorld, TheMethodStaysWhileThePositionShowsOrTheWidgetProbes) {
  setDeviceTransform(*plugin_, kH0, nullptr);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(dialog().pressButton(kShowPosition));
  EXPECT_FALSE(dialog().chooseRadio(kIdentity));
  expectMatrixNear(plugin_->hardwareMatrix(), kH0, 0);
  device_->deliver<IZelHardProbeDataReceiver>([](IZelHardProbeDataReceiver* r) { r->onPointStop({}); });

  ASSERT_TRUE(dialog().chooseRadio(kPlanes));
  const int32_t planes = box(u"Alignment321Widget");
  ASSERT_TRUE(dialog().pressButton(planes + 5));
  ASSERT_TRUE(dialog().pressButton(planes + 4));
  ASSERT_TRUE(dialog().pressButton(15));
  for (int32_t method : {kTestObject, kFile, kIdentity, kMoveDevice})
    EXPECT_FALSE(dialog().chooseRadio(method));
  EXPECT_TRUE(enabled(planes));
  EXPECT_FALSE(enabled(box(u"MoveDeviceWidget")));
  device_->deliver<IZelHardProbeDataReceiver>(
      [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("Cancel"), nullptr); });
  expectMatrixNear(plugin_->hardwareMatrix(), kH0, 0);
  EXPECT_TRUE(dialog().chooseRadio(kIdentity));
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
}

// A wizard run keeps one device transform from its first pass to its end, whichever way it ends.
TEST_F(OrientToWorld, NoOtherTransformCanBeChosenWhileAWizardRunGoesOn) {
  setDeviceTransform(*plugin_, kH0, nullptr);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(dialog().chooseRadio(kMoveDevice));
  const int32_t wizard = box(u"MoveDeviceWidget");
  ASSERT_TRUE(dialog().pressButton(wizard + 2));  // "Begin"
  EXPECT_FALSE(dialog().chooseRadio(kIdentity));
  for (int32_t button : {kStartProbing, kShowPosition}) EXPECT_FALSE(dialog().pressButton(button)) << button;
  EXPECT_EQ(device_->receiverCount(), 0u);
  expectMatrixNear(plugin_->hardwareMatrix(), kH0, 0);
  EXPECT_TRUE(enabled(kStandard1)) << "the command can still be left";

  host_.gui().simpleDialog().queueAnswer(2);  // "Exit", the run discarded
  ASSERT_TRUE(dialog().pressButton(wizard + 38));
  EXPECT_TRUE(dialog().pressButton(kShowPosition));
  EXPECT_EQ(device_->receiverCount(), 1u);
}

// The host may deactivate a command without cancelling it (after apply), and call cancel later: the device
// keeps what it was given.
TEST_F(OrientToWorld, ACancelAfterDeactivationChangesNothing) {
  setDeviceTransform(*plugin_, kH0, nullptr);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  IPtr<IComponentCommand> command = command_;
  ASSERT_TRUE(dialog().chooseRadio(kIdentity));
  ASSERT_TRUE(dialog().pressButton(kShowPosition));
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(journal_.back(), "disconnect HardProbe");
  EXPECT_TRUE(command->cancel());
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
}

}  // namespace
