#include "framework/widgets/zel_widget.h"

ZelWidget::ControlId ZelWidget::controlId(const Control& control) {
  ZelCString text(name_.c_str(), name_.length());
  text += ":";
  text += className();
  text += ":";
  text += control.name;
  return {std::move(text), control.index + idBase_};
}

void ZelWidget::reserveControls(IGuiDialog* dialog, int32_t count) {
  dialog_ = dialog;
  idBase_ = dialog ? dialog->reserveControlIds(count) : 0;
  controlCount_ = dialog ? count : 0;
}

void ZelWidget::enableBlock(bool enabled) {
  for (int32_t offset = 0; offset < controlCount_; ++offset)
    dialog_->enableControl(idBase_ + offset, enabled, IGuiDialog::kEnableDefault);
}

bool ZelWidget::blockEnabled() {
  return controlCount_ > 0 && dialog_->isControlEnabled(idBase_);
}

void ZelWidget::enableBox(bool enabled) {
  if (dialog_) dialog_->enableWidgetControl(idBase_, enabled, this);
}

bool ZelWidget::isBoxEnabled() {
  return dialog_ && dialog_->isControlEnabled(idBase_);
}

void ZelWidget::queryWidgetChain(QueryChain& chain) {
  chain.classLeaf(ZelWidget::interfaceName, static_cast<ZelWidget*>(this), static_cast<IZelUnknown*>(this))
      .offer<IZelWidget>(this)
      .offer<IGuiReceiver>(this)
      .end();
}

void ZelWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  queryWidgetChain(chain);
}
