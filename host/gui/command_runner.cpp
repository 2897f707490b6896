#include "host/gui/command_runner.h"

#include "host/gui/command_dialog_resources.h"

CommandRunner::CommandRunner(HostCommandContainer* container, HostGuiDialog* dialog, HostGfxViewMgr* view)
    : container_(container), dialog_(dialog), view_(view) {
  container_->setFinisher(this);
}

CommandRunner::~CommandRunner() {
  if (command_) cancel();
  if (command_) end();  // it refused: the host closes anyway
  container_->setFinisher(nullptr);
}

CommandRunner::Start CommandRunner::start(IComponentCommand* command) {
  if (command_ || starting_) return Start::kBusy;
  ended_ = nullptr;
  IPtr<IComponentCommand> held(command);
  if (!held) return Start::kCannotRun;
  IZelUnknown* context = static_cast<IComponentCommandContainerInt*>(container_.get());
  held->setContext(context);
  held->setGui(dialog_.get());
  if (!held->canRun(context)) return Start::kCannotRun;
  addCommandDialogResource(held->className(), *dialog_);
  held->createGui(dialog_.get());
  dialog_->setReceiver(held.get());
  container_->setCommandRunning(true);
  starting_ = true;
  finishAskedWhileStarting_.reset();
  bool activated = held->activate();
  starting_ = false;
  if (!activated) {
    container_->setCommandRunning(false);
    closeDialog();
    return Start::kActivationRefused;
  }
  command_ = std::move(held);
  view_->setRunningCommand(command_.get());
  if (std::optional<bool> applied = finishAskedWhileStarting_) finishRunning(*applied);
  return Start::kStarted;
}

bool CommandRunner::apply() {
  if (!command_ || ending_) return false;
  ending_ = true;
  bool applied = command_->canApply() && command_->apply();
  ending_ = false;
  if (applied) end();
  return applied;
}

bool CommandRunner::cancel() {
  if (!command_ || ending_) return false;
  ending_ = true;
  bool cancelled = command_->cancel();
  ending_ = false;
  if (cancelled) end();
  return cancelled;
}

bool CommandRunner::finish() {
  if (!command_ || ending_) return false;
  IPtr<IComponentCommand> held = command_;
  held->finish();
  return true;
}

void CommandRunner::finishRunning(bool applied) {
  if (starting_) {
    finishAskedWhileStarting_ = applied;
    return;
  }
  if (applied) {
    apply();
  } else {
    cancel();
  }
}

void CommandRunner::end() {
  ended_ = std::move(command_);
  view_->setRunningCommand(nullptr);
  ending_ = true;
  ended_->deactivate();
  ending_ = false;
  container_->setCommandRunning(false);
  closeDialog();
}

void CommandRunner::closeDialog() {
  dialog_->setReceiver(nullptr);
  dialog_->clear();
}
