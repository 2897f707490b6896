#include "host/gui/command_runner.h"

CommandRunner::CommandRunner(HostCommandContainer* container, HostGuiDialog* dialog)
    : container_(container), dialog_(dialog) {}

CommandRunner::~CommandRunner() {
  if (!command_) return;
  command_->cancel();
  command_->finish();
  end();
}

CommandRunner::Start CommandRunner::start(IComponentCommand* command) {
  if (command_) return Start::kBusy;
  IPtr<IComponentCommand> held(command);
  if (!held) return Start::kCannotRun;
  IZelUnknown* context = static_cast<IComponentCommandContainerInt*>(container_.get());
  held->setContext(context);
  held->setGui(dialog_.get());
  if (!held->canRun(context)) return Start::kCannotRun;
  held->createGui(dialog_.get());
  dialog_->setReceiver(held.get());
  if (!held->activate()) {
    closeDialog();
    return Start::kActivationRefused;
  }
  command_ = std::move(held);
  return Start::kStarted;
}

bool CommandRunner::apply() {
  if (!command_ || !command_->canApply() || !command_->apply()) return false;
  end();
  return true;
}

bool CommandRunner::cancel() {
  if (!command_ || !command_->cancel()) return false;
  command_->finish();
  end();
  return true;
}

void CommandRunner::end() {
  IPtr<IComponentCommand> ended = std::move(command_);
  ended->deactivate();
  closeDialog();
}

void CommandRunner::closeDialog() {
  dialog_->setReceiver(nullptr);
  dialog_->clear();
}
