#include "commands/measure/multiple_planes_widget.h"

#include "commands/measure/multiple_planes_graphics.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/translation/tr.h"

namespace {
constexpr int32_t kInitialSections = 5;
constexpr double kMaxSections = 1000.0;
// The spacing's range and initial value, as parts of the working size.
constexpr double kMinSpacing = 1e-6;
constexpr double kMaxSpacing = 1e4;
constexpr double kInitialSpacing = 0.1;
}  // namespace

MultiplePlanesWidget::MultiplePlanesWidget(SectionPlanesOwner& owner) : owner_(owner) {}

MultiplePlanesWidget::~MultiplePlanesWidget() = default;

bool MultiplePlanesWidget::buildGui(IGuiDialog* dialog, const ZelString* title) {
  if (!dialog) return false;
  reserveControls(dialog, kControlCount);
  dialog->beginReceiver(this);
  dialog->addControl(id(kMainBox), "group", ZelString(u"MainBox"));
  dialog->setControlText(id(kMainBox), !title || title->isEmpty() ? tr("Multiple Sections") : *title);
  dialog->addControl(id(kNumSections), "number", ZelString(u"NumSections"));
  dialog->setControlText(id(kNumSections), tr("Sections"));
  dialog->addControl(id(kSpacing), "length", ZelString(u"Spacing"));
  dialog->setControlText(id(kSpacing), tr("Spacing"));
  dialog->addControl(id(kLayout), "dropdown", ZelString(u"Layout"));
  dialog->setControlText(id(kLayout), tr("Layout"));
  dialog->addListEntry(id(kLayout), tr("Centered"));
  dialog->addListEntry(id(kLayout), tr("One Way"));
  dialog->addControl(id(kFlip), "check", ZelString(u"Flip"));
  dialog->setControlText(id(kFlip), tr("Flip"));
  dialog->endReceiver();
  dialog->setNumberFormat(id(kNumSections), "%.0f", 1.0, kMaxSections);
  dialog->setControlValue(id(kNumSections), kInitialSections);
  dialog->selectListEntry(id(kLayout), kOneWay);
  return true;
}

bool MultiplePlanesWidget::activate() {
  IGuiDialog* dialog = this->dialog();
  if (!dialog) return false;
  dialog->setNumberFormat(id(kSpacing), "%.4f", size_ * kMinSpacing, size_ * kMaxSpacing);
  dialog->setControlValue(id(kSpacing), size_ * kInitialSpacing);
  flip_ = false;
  dialog->setControlValue(id(kFlip), 0);
  dialog->enableControl(id(kFlip), dialog->listSelection(id(kLayout)) == kOneWay, IGuiDialog::kEnableDefault);
  graphics_ = std::make_unique<Graphics>(*this);
  return true;
}

void MultiplePlanesWidget::deactivate() {
  graphics_.reset();
}

// The box, clicked or given a value, reports the state it shows.
void MultiplePlanesWidget::onGuiEvent(int32_t id, int32_t value) {
  if (id != this->id(kFlip)) return;
  flip_ = value != 0;
  requestRedraw(false);
}

void MultiplePlanesWidget::onGuiValue(int32_t id, double) {
  if (id == this->id(kNumSections) || id == this->id(kSpacing)) requestRedraw(false);
}

void MultiplePlanesWidget::onGuiValueChanged(int32_t id, int32_t value) {
  if (id == this->id(kFlip)) return onGuiEvent(id, value);
  if (id != this->id(kLayout)) return;
  if (dialog()) dialog()->enableControl(this->id(kFlip), value == kOneWay, IGuiDialog::kEnableDefault);
  requestRedraw(false);
}

double MultiplePlanesWidget::value(int32_t offset) {
  double value = 0.0;
  if (dialog()) dialog()->getControlValue(id(offset), &value);
  return value;
}

bool MultiplePlanesWidget::computePlanes(SectionPlaneList& out) {
  out.clear();
  if (!basePlane_.isValid() || !dialog()) return false;
  const auto sections = static_cast<int32_t>(value(kNumSections));
  double step = value(kSpacing);
  if (flip_) step = -step;
  double start = basePlane_.d;
  if (dialog()->listSelection(id(kLayout)) == kCentered)
    start -= static_cast<double>(sections - 1) * 0.5 * step;
  for (int32_t i = 1; i <= sections; ++i)
    out.append({basePlane_.nx, basePlane_.ny, basePlane_.nz, start + static_cast<double>(i - 1) * step});
  return true;
}

void MultiplePlanesWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelUnknown*>(static_cast<ZelWidget*>(this)));
  queryWidgetChain(chain);
}
