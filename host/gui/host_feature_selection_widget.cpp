#include "host/gui/host_feature_selection_widget.h"

#include "framework/object/query_chain.h"

void HostFeatureSelectionWidget::initialise(IGuiReceiver* receiver, int32_t id, const char*, int32_t, int32_t,
                                            const ZelID*, int32_t) {
  receiver_ = receiver;
  id_ = id;
}

bool HostFeatureSelectionWidget::buildInDialog(IGuiDialog* dialog, const ZelString& title) {
  if (!dialog) return false;
  const int32_t id = dialog->reserveControlIds(1);
  dialog->beginReceiver(this);
  const bool added = dialog->addControl(id, "list", title);
  dialog->endReceiver();
  if (!added) return false;
  dialog_ = dialog;
  listId_ = id;
  return true;
}

void HostFeatureSelectionWidget::setSubObjects(IZelFeatureSubObjectMgr*, int32_t,
                                               IZelFeatureSubObject* const* subObjects, int32_t count) {
  subObjects_.clear();
  chosen_ = -1;
  if (dialog_) dialog_->clearList(listId_);
  for (int32_t i = 0; subObjects && i < count; ++i) {
    if (!subObjects[i]) continue;
    subObjects_.emplace_back(subObjects[i]);
    if (dialog_) dialog_->addListEntry(listId_, subObjects[i]->name());
  }
}

IZelFeatureSubObject* HostFeatureSelectionWidget::chosenSubObject() {
  if (chosen_ < 0 || chosen_ >= static_cast<int32_t>(subObjects_.size())) return nullptr;
  return subObjects_[chosen_].get();
}

void HostFeatureSelectionWidget::deactivate() {
  if (dialog_) dialog_->clearList(listId_);
  subObjects_.clear();
  chosen_ = -1;
  dialog_ = nullptr;
}

void HostFeatureSelectionWidget::onGuiValueChanged(int32_t id, int32_t value) {
  if (id != listId_ || !dialog_) return;
  chosen_ = value;
  if (receiver_) receiver_->onGuiEvent(id_, 1);
}

void HostFeatureSelectionWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelFeatureSelectionWidget*>(this))
      .offer<IZelFeatureSelectionWidget>(this)
      .offer<IGuiReceiver>(this)
      .end();
}
