#include "commands/alignment/orient_to_world/alignment_321_widget.h"

#include <cmath>
#include <cstring>

#include "commands/alignment/plane_probing/plane_colors.h"
#include "commands/alignment/plane_probing/plane_probing_instructions.h"
#include "devices/events/acquisition_error.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/host_glue/setting_on.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"
#include "host_api/gfx_view.h"
#include "host_api/gui_simple_dialog.h"
#include "host_api/host_commands.h"

namespace {

const ClassRegistration<Alignment321Widget> registration(registeredClass("Alignment321Widget"));

constexpr const char* kDevice = "HardProbe";
constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";
constexpr const char* kShowInstructionsKey = "Palpera/Tile/ShowInstructions";
constexpr size_t kPointsReserved = 16;
constexpr int32_t kAllViews = -1;

struct Axis {
  const char* image;
  const char* text;
  const char* callback;
  const char* label;
};

// By code - 1: +X, -X, +Y, -Y, +Z, -Z.
constexpr Axis kAxes[] = {{"xplus", "Positive X", "PlusX", "+X"}, {"xminus", "Negative X", "NegX", "-X"},
                          {"yplus", "Positive Y", "PlusY", "+Y"}, {"yminus", "Negative Y", "NegY", "-Y"},
                          {"zplus", "Positive Z", "PlusZ", "+Z"}, {"zminus", "Negative Z", "NegZ", "-Z"}};

bool isCode(uint32_t code) {
  return code >= 1 && code <= 6;
}

// 0 for X, 1 for Y, 2 for Z.
uint32_t axisIndex(uint32_t code) {
  return (code - 1) / 2;
}

uint32_t opposite(uint32_t code) {
  return code % 2 == 1 ? code + 1 : code - 1;
}

Vector3 axisVector(uint32_t code) {
  const double sign = code % 2 == 1 ? 1 : -1;
  const uint32_t axis = axisIndex(code);
  return {axis == 0 ? sign : 0, axis == 1 ? sign : 0, axis == 2 ? sign : 0};
}

// The faces of the world the planes stand for: square to each other, planes 1 and 2 facing out along their
// chosen axes as they face their stop points; plane 3 may be either face along its axis.
std::array<ReferenceFace, 3> worldFaces(const std::array<uint32_t, 3>& codes) {
  return {ReferenceFace{axisVector(codes[0]), {}, true}, ReferenceFace{axisVector(codes[1]), {}, true},
          ReferenceFace{axisVector(codes[2]), {}, false}};
}

// The positive code of the axis that two different axes leave.
constexpr int32_t kRemainingAxis[3][3] = {{-1, 5, 3}, {5, -1, 1}, {3, 1, -1}};
// Whether the remaining axis is taken positive (1) or negative (-1), by the codes of planes 1 and 2.
constexpr int32_t kThirdSign[6][6] = {{0, 0, 1, -1, -1, 1}, {0, 0, -1, 1, 1, -1}, {-1, 1, 0, 0, 1, -1},
                                      {1, -1, 0, 0, -1, 1}, {1, -1, -1, 1, 0, 0}, {-1, 1, 1, -1, 0, 0}};

}  // namespace

Alignment321Widget::~Alignment321Widget() = default;

uint32_t Alignment321Widget::thirdAxis(uint32_t first, uint32_t second) {
  if (!isCode(first) || !isCode(second) || axisIndex(first) == axisIndex(second)) return kUnset;
  const auto code = static_cast<uint32_t>(kRemainingAxis[axisIndex(first)][axisIndex(second)]);
  return kThirdSign[first - 1][second - 1] <= 0 ? code + 1 : code;
}

// Building.

bool Alignment321Widget::buildGui(IGuiDialog* dialog, const ZelString*) {
  reserveControls(dialog, kControlCount);
  if (!dialog) return false;
  dialog->beginReceiver(this);
  ControlId box = controlId({kBox, "Box"});
  dialog->beginGroupBox(box.text.c_str(), box.number, tr("Planes"));
  for (uint32_t row : {1u, 2u}) {
    dialog->beginLayout(false);
    for (uint32_t code = row; code <= 6; code += 2) {
      const Axis& axis = kAxes[code - 1];
      const int32_t picture = id(static_cast<int32_t>(code) + kPictureOffset);
      dialog->registerPicture(picture, axis.image);
      ControlId button = controlId({static_cast<int32_t>(code), axis.callback});
      dialog->addImageToggleButton(button.text.c_str(), button.number, picture, tr(axis.text), true);
    }
    dialog->endLayout();
  }
  ControlId resetButton = controlId({kReset, "ResetButton"});
  dialog->addButtonAt(resetButton.text.c_str(), resetButton.number, tr("Reset"), true);
  ControlId label = controlId({kOrderLabel, "OrderLabel"});
  dialog->addControl(label.number, "label", ZelString(label.text.c_str()));
  dialog->setControlText(label.number, tr("Plane 1:\nPlane 2:\nPlane 3:"));
  dialog->endGroup();
  dialog->endReceiver();
  return true;
}

void Alignment321Widget::enable(int32_t control, bool enabled) {
  if (dialog()) dialog()->enableControl(id(control), enabled, IGuiDialog::kEnableDefault);
}

// Activation and the choices.

bool Alignment321Widget::activate() {
  reset();
  return true;
}

void Alignment321Widget::deactivate() {
  stopProbing(true);
  plugin_ = nullptr;
}

void Alignment321Widget::onGuiEvent(int32_t controlId, int32_t) {
  if (probing_) return;
  const int32_t control = controlId - idBase();
  if (control >= kPlusX && control <= kMinusZ)
    choose(static_cast<uint32_t>(control));
  else if (control == kReset)
    reset();
}

void Alignment321Widget::reset() {
  choices_ = {kUnset, kUnset, kUnset};
  step_ = 1;
  const double probeRadius = planes_.probeRadius;
  planes_ = ProbedPlanes{};
  planes_.probeRadius = probeRadius;
  planes_.sampledPoints.reserve(kPointsReserved);
  markersAtPlaneStart_ = 0;
  enable(kReset, false);
  for (int32_t code = kPlusX; code <= kMinusZ; ++code) enable(code, true);
  refreshLabel();
}

void Alignment321Widget::choose(uint32_t code) {
  // An axis already named would leave the third plane without one.
  for (uint32_t chosen : choices_)
    if (isCode(chosen) && axisIndex(chosen) == axisIndex(code)) return;
  enable(kReset, true);
  const int slot = choices_[0] == kUnset ? 0 : choices_[1] == kUnset ? 1 : 2;
  choices_[slot] = code;
  refreshLabel();
  if (slot != 1) return;
  choices_[2] = thirdAxis(choices_[0], choices_[1]);
  refreshLabel();
}

void Alignment321Widget::refreshLabel() {
  ZelString text(u"<B></B>");
  for (int plane = 1; plane <= 3; ++plane) {
    const uint32_t code = choices_[plane - 1];
    if (isCode(code)) {
      enable(static_cast<int32_t>(code), false);
      enable(static_cast<int32_t>(opposite(code)), false);
    }
    text += tr("Plane %1: ", ZelString::number(plane));
    if (isCode(code)) {
      text += ZelString(u" ");
      text += tr(kAxes[code - 1].label);
    }
    if (plane < 3) text += ZelString(u"<BR>");
  }
  if (dialog()) dialog()->setControlText(id(kOrderLabel), text);
}

// Probing.

bool Alignment321Widget::startProbing() {
  if (probing_) return false;
  for (uint32_t choice : choices_) {
    if (isCode(choice)) continue;
    SPtr<IGuiSimpleDlg> message;
    if (message)
      message->show(IGuiSimpleDlg::kAcknowledgedStyle,
                    tr("Specify the axis directions of the planes before probing."), ZelString(), false,
                    false, false);
    return false;
  }
  planes_.references = worldFaces(choices_);
  points_ = std::make_unique<ProbedPointsFrame>(ZelString(u"3-2-1 Alignment Points"));
  notify("ProbeStart", nullptr);
  probing_ = true;
  // The device copies its transform when acquisition starts: the identity, so the points arrive as the
  // device measures them.
  if (plugin_) {
    savedMatrix_.keep(*plugin_);
    plugin_->setHardwareMatrix(Matrix4x4::identity());
  }
  showProbeGraphics();
  SPtr<IZelPluginService> devices;
  IZelPluginDevice* device = devices ? devices->getDevice(ZelCString(kDevice)) : nullptr;
  if (device) {
    device->addReceiver(this);
    device_ = device;
  }
  // Without a device no point would ever come: the run would wait for nothing.
  if (!device || !device->startAcquisition()) {
    stopProbing(true);
    return false;
  }
  if (settingOn(kShowInstructionsKey)) showPlaneInstructionsTile(true);
  showPlaneProbingInstructions(1);
  return true;
}

void Alignment321Widget::showProbeGraphics() {
  if (!settingOn(kShowProbeKey)) return;
  probe_.show(ZelString(u"3-2-1 Alignment Graphics"));
  if (probe_.graphics()) probe_.graphics()->fitView(true);
  markers_ = std::make_unique<SampledPointMarkers>(probe_.object());
}

void Alignment321Widget::onMoved(const Vector3& point, const Vector3& to, const Vector3&) {
  if (probing_) planes_.moved(point, to);
}

void Alignment321Widget::onPointSampled(const Vector3& point) {
  if (!probing_) return;
  planes_.sampled(point);
  if (markers_) markers_->add(point, planeColor(step_));
  points_->showPoints(planes_.sampledPoints);
}

void Alignment321Widget::onPointStop(const Vector3& point) {
  if (!probing_) return;
  IPtr<Alignment321Widget> self(this);  // a listener may let the widget go while the run ends
  planes_.stopped(point);
  // A stop before any touch is the operator's way out of the run.
  if (step_ == 1 && planes_.sampledPoints.empty()) {
    stopProbing(true);
    return;
  }
  if (!completeStep()) {
    // A second STOP, or one too early, costs neither the planes done nor this plane's points.
    reportUserError(planes_.refusal(step_));
    return;
  }
  planes_.clearSampled();
  if (step_ == 3) {
    stopProbing(false);
    return;
  }
  ++step_;
  markersAtPlaneStart_ = markers_ ? markers_->count() : 0;
  showPlaneProbingInstructions(step_);
}

bool Alignment321Widget::completeStep() {
  if (step_ == 1) return planes_.computeDevicePlane1();
  if (step_ == 2) return planes_.computeDevicePlane2();
  if (!planes_.computeDevicePlane3()) return false;
  std::optional<Matrix4x4> transform = worldTransform(planes_.devicePlanes, choices_);
  if (!transform) return false;
  notify("NewTransform", transform->m);
  return true;
}

void Alignment321Widget::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  if (!probing_ || !name.data()) return;
  IPtr<Alignment321Widget> self(this);
  if (std::strcmp(name.data(), IZelHardProbeDataReceiver::kUndoLastSampledEvent) == 0) {
    planes_.undoSampled();
    points_->showPoints(planes_.sampledPoints);
    // The markers of the planes already built stay.
    if (markers_ && markers_->count() > markersAtPlaneStart_) markers_->removeLast();
  } else if (std::strcmp(name.data(), "Cancel") == 0) {
    stopProbing(true);
  } else if (isAcquisitionError(name)) {
    stopProbing(true);
    reportAcquisitionError();
  }
}

void Alignment321Widget::stopProbing(bool restore) {
  if (!probing_) return;
  probing_ = false;
  showPlaneInstructionsTile(false);
  if (const IPtr<IZelPluginDevice> device = std::move(device_)) stopDetached(*device, {this});
  markers_.reset();
  probe_.hide();
  points_.reset();
  if (plugin_) {
    if (restore) savedMatrix_.giveBack(*plugin_, nullptr);
    fitViewAfterProbing();
  }
  savedMatrix_.forget();
  notify("ProbeStop", nullptr);
  reset();
}

void Alignment321Widget::fitViewAfterProbing() {
  SPtr<IZelDoc> document;
  if (document && document->objectCount() == 0) {
    SPtr<IHostCommandService> commands;
    if (commands) commands->runCommand("GenResetViewCmd");
    return;
  }
  SPtr<IGenGfxService> graphics;
  if (graphics) graphics->fitAll(kAllViews, true, 0);
}

std::optional<Matrix4x4> Alignment321Widget::worldTransform(const std::array<Plane, 3>& planes,
                                                            const std::array<uint32_t, 3>& codes) {
  const Vector3 n1 = planes[0].normal(), n2 = planes[1].normal(), n3 = planes[2].normal();
  const double determinant = n1.dot(Vector3::cross(n2, n3));
  if (std::abs(determinant) < kSmallestDeterminant) return std::nullopt;
  // Where n_i . x = d_i for all three.
  const Vector3 origin = (planes[0].d * Vector3::cross(n2, n3) + planes[1].d * Vector3::cross(n3, n1) +
                          planes[2].d * Vector3::cross(n1, n2)) /
                         determinant;
  std::array<std::optional<Vector3>, 3> axes;
  for (size_t plane = 0; plane < 3; ++plane) {
    const uint32_t code = codes[plane];
    if (!isCode(code) || axes[axisIndex(code)]) return std::nullopt;
    const Vector3 normal = planes[plane].normal();
    axes[axisIndex(code)] = code % 2 == 1 ? normal : -1.0 * normal;
  }
  Matrix4x4 m = Matrix4x4::identity();
  for (size_t row = 0; row < 3; ++row) {
    const Vector3& axis = *axes[row];
    m.m[row * 4 + 0] = axis.x;
    m.m[row * 4 + 1] = axis.y;
    m.m[row * 4 + 2] = axis.z;
    m.m[row * 4 + 3] = -axis.dot(origin);
  }
  return m;
}

void Alignment321Widget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<ZelWidget*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this);
  querySubjectChain(chain);
  queryWidgetChain(chain);
}
