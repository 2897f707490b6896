#include "commands/alignment/alignment_321_widget.h"

#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"
#include "host/api/gui_simple_dialog.h"

namespace {

const ClassRegistration<Alignment321Widget> registration(registeredClass("Alignment321Widget"));

// The host message dialog's plain message.
constexpr int32_t kMessageStyle = 2;

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
  for (uint32_t choice : choices_) {
    if (isCode(choice)) continue;
    SPtr<IGuiSimpleDlg> message;
    if (message)
      message->show(kMessageStyle, tr("Specify the axis directions of the planes before probing."),
                    ZelString(), false, false, false);
    return false;
  }
  return false;
}

void Alignment321Widget::onPointSampled(const Vector3&) {}

void Alignment321Widget::onPointStop(const Vector3&) {}

void Alignment321Widget::onCustomEvent(const ZelCString&, IZelUnknown*) {}

void Alignment321Widget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<ZelWidget*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this);
  querySubjectChain(chain);
  queryWidgetChain(chain);
}
