#include "commands/capture/palpera_capture_cmd.h"

#include "commands/capture/capture_counter.h"
#include "commands/capture/capture_settings.h"
#include "commands/common/command_readiness.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/user_error.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/gui_dialog.h"

namespace {

const ClassRegistration<PalperaCaptureCmd> registration(registeredClass("PalperaCaptureCmd"));

constexpr const char* kSourceFile = "palperacapturecmd";
constexpr const char* kManagerName = "HardProbe";
constexpr const char* kSinglePointDevice = "HardProbe";
constexpr const char* kContinuousDevice = "HardProbeContinuous";

// The dialog's field kinds and formats.
constexpr const char* kLengthField = "length";
constexpr const char* kNumberField = "number";
constexpr const char* kFourDecimals = "%.4f";
constexpr double kSpacingMaximum = 100;
constexpr double kTimeRateMinimum = 1.0 / 30;
constexpr double kTimeRateMaximum = 100;
constexpr double kDistanceRateMinimum = 0.0001;
constexpr double kDistanceRateMaximum = 10;

int32_t intSetting(const char* key, int32_t fallback) {
  SPtr<IDataStore> store;
  return store ? store->getInt(key, fallback) : fallback;
}

double doubleSetting(const char* key, double fallback) {
  SPtr<IDataStore> store;
  return store ? store->getDouble(key, fallback) : fallback;
}

}  // namespace

PalperaCaptureCmd::PalperaCaptureCmd() {
  name_ = tr("Probe Capture");
}

PalperaCaptureCmd::~PalperaCaptureCmd() = default;

void PalperaCaptureCmd::onGuiEvent(int32_t id, int32_t value) {
  if (takeBox(id, value != 0)) return;
  switch (id) {
    case kPointObjectNameReset:
      if (ICounter* counter = captureCounter(capture::kPointObjectCounter)) {
        counter->reset();
        updatePointObjectName();
      }
      break;
    case kProbeModeSingle:
      chooseMode(kSinglePoint);
      break;
    case kProbeModeTime:
      chooseMode(kTime);
      break;
    case kProbeModeDistance:
      chooseMode(kDistance);
      break;
    case kStartCapture:
      startCapture();
      break;
    default:
      break;
  }
}

void PalperaCaptureCmd::onGuiValueChanged(int32_t id, int32_t value) {
  takeBox(id, value != 0);
}

bool PalperaCaptureCmd::takeBox(int32_t id, bool on) {
  switch (id) {
    case kMerge:
      merge_ = on;
      return true;
    case kSampling:
      sampling_ = on;
      enable(kSpacing, on);
      return true;
    case kAutomaticViewResize:
      autoViewResize_ = on;
      return true;
    case kVirtualCamera:
      if (on)
        startVirtualCamera();
      else
        virtualCamera_.release();
      showVirtualCamera();
      return true;
    default:
      return false;
  }
}

void PalperaCaptureCmd::showVirtualCamera() {
  // A camera the host cannot make leaves the box off rather than promise one.
  if (gui_) gui_->setControlValue(kVirtualCamera, static_cast<bool>(virtualCamera_));
}

void PalperaCaptureCmd::onGuiValue(int32_t id, double value) {
  if (id == kSpacing) spacing_ = value;
  if (id == kTimeRate) timeRate_ = value;
  if (id == kDistanceRate) {
    distanceRate_ = value;
    distanceRate2_ = value * value;
  }
}

void PalperaCaptureCmd::chooseMode(CaptureMode mode) {
  mode_ = mode;
  if (gui_) {
    gui_->setControlFlag(kTimeRate, mode_ == kTime);
    gui_->setControlFlag(kDistanceRate, mode_ == kDistance);
  }
  enable(kStartCapture, connectDevice());
}

bool PalperaCaptureCmd::canRun(IZelUnknown* context) {
  return !contextBusy(context) && !resultBarsEmulator(context);
}

void PalperaCaptureCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!gui_) return;
  gui_->registerPicture(kProbeModeSingleImage, "probe_mode_single");
  gui_->registerPicture(kProbeModeTimeImage, "probe_mode_time");
  gui_->registerPicture(kProbeModeDistanceImage, "probe_mode_distance");
  // The boxes open at their fixed ids: a box the host numbers takes the lowest free id, which is the name
  // field's.
  gui_->beginFramedGroupBox("MainBox", kMainBox, false, ZelString(), true);

  gui_->beginGroupBox("PointObjectBox", kPointObjectBox, tr("Point Object"));
  gui_->beginLayout(true);
  gui_->addControl(kPointObjectName, "text", ZelString("PointObjectName"));
  gui_->setControlText(kPointObjectName, tr("Name"));
  gui_->addControl(kPointObjectNameReset, "button", ZelString("PointObjectNameReset"));
  gui_->setControlText(kPointObjectNameReset, tr("Reset"));
  gui_->endLayout();
  gui_->addControl(kMerge, "check", ZelString("Merge"));
  gui_->setControlText(kMerge, tr("Merge Scan Passes"));
  gui_->addControl(kSampling, "check", ZelString("Sampling"));
  gui_->setControlText(kSampling, tr("Sampling"));
  gui_->addControl(kSpacing, kLengthField, ZelString("Spacing"));
  gui_->setControlText(kSpacing, tr("Spacing"));
  gui_->setNumberFormat(kSpacing, kFourDecimals, 0, kSpacingMaximum);
  gui_->endGroup();

  gui_->beginGroupBox("ModeBox", kModeBox, tr("Probe Mode"));
  gui_->beginLayout(false);
  gui_->addImageToggleButton("ProbeModeSingle", kProbeModeSingle, kProbeModeSingleImage, tr("Single Point"),
                             true);
  gui_->addImageToggleButton("ProbeModeTime", kProbeModeTime, kProbeModeTimeImage, tr("Time"), true);
  gui_->addImageToggleButton("ProbeModeDistance", kProbeModeDistance, kProbeModeDistanceImage, tr("Distance"),
                             true);
  gui_->endLayout();
  gui_->addControl(kTimeRate, kNumberField, ZelString("TimeRate"));
  gui_->setControlText(kTimeRate, tr("Interval (s)"));
  gui_->setNumberFormat(kTimeRate, kFourDecimals, kTimeRateMinimum, kTimeRateMaximum);
  gui_->addControl(kDistanceRate, kLengthField, ZelString("DistanceRate"));
  gui_->setControlText(kDistanceRate, tr("Interval"));
  gui_->setNumberFormat(kDistanceRate, kFourDecimals, kDistanceRateMinimum, kDistanceRateMaximum);
  gui_->endGroup();

  // The box of the capture controls has no id of its own: a panel takes none from the fixed ones.
  gui_->beginPanel(tr("Acquire Points"), true);
  gui_->addControl(kAutomaticViewResize, "check", ZelString("AutomaticViewResize"));
  gui_->setControlText(kAutomaticViewResize, tr("Automatic View Resize"));
  gui_->addControl(kVirtualCamera, "check", ZelString("VirtualCamera"));
  gui_->setControlText(kVirtualCamera, tr("Virtual Camera"));
  gui_->addControl(kStartCapture, "button", ZelString("StartCapture"));
  gui_->setControlText(kStartCapture, tr("Start Capture"));
  gui_->endPanel();

  gui_->endGroup();
  gui_->setControlFlag(IGuiDialog::kStandardControl2, false);
}

bool PalperaCaptureCmd::activate() {
  IPtr<PalperaCaptureCmd> self(this);
  if (!commandReady(name_, {.hardProbe = true})) return false;
  updatePointObjectName();
  readSettings();
  enableCaptureControls(true);
  rememberCurrentObjects();
  if (connectDevice()) return true;
  deactivate();
  return false;
}

void PalperaCaptureCmd::rememberCurrentObjects() {
  SPtr<IZelDoc> document;
  if (!document || !document->currentObject()) return;
  // The first current object first, as cancel makes it current with the set operation.
  IZelDocObject* first = document->currentObject();
  activationObjects_.emplace_back(first);
  for (int32_t i = 0; i < document->objectCount(); ++i) {
    IZelDocObject* object = document->objectAt(i);
    if (object != first && document->isCurrentObject(object)) activationObjects_.emplace_back(object);
  }
}

void PalperaCaptureCmd::readSettings() {
  autoViewResize_ = intSetting(capture::kAutomaticViewResizeKey, 1) != 0;
  const bool camera = intSetting(capture::kVirtualCameraKey, 1) != 0;
  if (camera) startVirtualCamera();
  merge_ = intSetting(capture::kMergeKey, 1) != 0;
  sampling_ = intSetting(capture::kSamplingKey, 1) != 0;
  spacing_ = doubleSetting(capture::kSpacingKey, 0.000635);
  mode_ = intSetting(capture::kModeKey, kSinglePoint);
  timeRate_ = doubleSetting(capture::kTimeRateKey, 0.5);
  distanceRate_ = doubleSetting(capture::kDistanceRateKey, 0.0254);
  distanceRate2_ = distanceRate_ * distanceRate_;
  if (!gui_) return;
  gui_->setControlValue(kAutomaticViewResize, autoViewResize_);
  showVirtualCamera();
  gui_->setControlValue(kMerge, merge_);
  gui_->setControlValue(kSampling, sampling_);
  enable(kSpacing, sampling_);
  gui_->setControlValue(kSpacing, spacing_);
  showMode();
  gui_->setControlValue(kTimeRate, timeRate_);
  gui_->setControlValue(kDistanceRate, distanceRate_);
}

// Checks the current mode's button only (the buttons act as one choice, the host unchecks the others) and
// switches on the interval field of that mode; a mode the command does not know changes nothing.
void PalperaCaptureCmd::showMode() {
  static constexpr int32_t kButtons[] = {kProbeModeSingle, kProbeModeTime, kProbeModeDistance};
  if (mode_ < kSinglePoint || mode_ > kDistance) return;
  gui_->setControlValue(kButtons[mode_], 1);
  gui_->setControlFlag(kTimeRate, mode_ == kTime);
  gui_->setControlFlag(kDistanceRate, mode_ == kDistance);
}

void PalperaCaptureCmd::writeSettings() {
  SPtr<IDataStore> store;
  if (!store) return;
  store->setInt(nullptr, capture::kAutomaticViewResizeKey, autoViewResize_ ? 1 : 0);
  store->setInt(nullptr, capture::kVirtualCameraKey, virtualCamera_ ? 1 : 0);
  store->setInt(nullptr, capture::kMergeKey, merge_ ? 1 : 0);
  store->setInt(nullptr, capture::kSamplingKey, sampling_ ? 1 : 0);
  store->setDouble(nullptr, capture::kSpacingKey, spacing_);
  store->setInt(nullptr, capture::kModeKey, mode_);
  store->setDouble(nullptr, capture::kTimeRateKey, timeRate_);
  store->setDouble(nullptr, capture::kDistanceRateKey, distanceRate_);
}

void PalperaCaptureCmd::updatePointObjectName() {
  ICounter* counter = captureCounter(capture::kPointObjectCounter);
  if (counter && gui_)
    gui_->setControlText(kPointObjectName, tr("Scan %1", ZelString::number(counter->value())));
}

void PalperaCaptureCmd::enableCaptureControls(bool on) {
  for (int32_t id : {kPointObjectName, kProbeModeSingle, kProbeModeTime, kProbeModeDistance, kStartCapture})
    enable(id, on);
}

void PalperaCaptureCmd::enable(int32_t id, bool on) {
  if (gui_) gui_->enableControl(id, on, IGuiDialog::kEnableDefault);
}

bool PalperaCaptureCmd::connectDevice() {
  disconnectDevice();
  if (mode_ == kSinglePoint) return connect(kSinglePointDevice);
  if (mode_ == kTime || mode_ == kDistance) return connect(kContinuousDevice);
  return false;
}

void PalperaCaptureCmd::disconnectDevice() {
  if (plugin_) {
    plugin_->resetObjectMatrix();
    plugin_ = nullptr;
  }
  if (device_) {
    device_->disconnect();
    device_.release();
  }
}

bool PalperaCaptureCmd::connect(const char* deviceName) {
  SPtr<IZelPluginService> plugins;
  IZelPluginManager* manager = plugins ? plugins->getManager(ZelCString(kManagerName)) : nullptr;
  device_ = plugins ? plugins->getDevice(ZelCString(deviceName)) : nullptr;
  if (manager && device_ && device_->connect()) {
    plugin_ = manager->currentPlugin();
    if (plugin_) {
      plugin_->reloadObjectMatrix();
      return true;
    }
    // A device connected without an active plug-in cannot place its points: it is no connection.
    reportAssertion("plugin_", kSourceFile, __LINE__);
    device_->disconnect();
  }
  reportUserError(tr("Unable to connect to hard probe device."));
  device_.release();
  return false;
}

void PalperaCaptureCmd::deactivate() {
  IPtr<PalperaCaptureCmd> self(this);
  stopCapture();
  disconnectDevice();
  passNode_ = nullptr;
  igp_ = nullptr;
  pointObjects_.clear();
  virtualCamera_.release();
  soundPlayer_.release();
  activationObjects_.clear();
}

void PalperaCaptureCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain
      .classLeaf(interfaceName, static_cast<PalperaCaptureCmd*>(this),
                 static_cast<IZelUnknown*>(static_cast<CompBaseCmd*>(this)))
      .offer<IZelPluginDataReceiver>(static_cast<IZelHardProbeContinuousDataReceiver*>(this))
      .offer<IZelHardProbeContinuousDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this);
  queryCommandChain(chain);
}
