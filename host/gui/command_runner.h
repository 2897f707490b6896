#pragma once

// Runs one command at a time the way the host's GUI does: setContext(container), setGui(dialog), canRun,
// the command's dialog resource (command_dialog_resources.h), createGui, the dialog's receiver set to the
// command, activate; finish when asked (before apply, never after cancel or apply); later apply (when
// canApply) or cancel, and at the end deactivate with the receiver cleared and the dialog closed (cleared for
// the next command), as it is when activation is refused. While a command runs, the dialog's buttons and
// values and the view's pointer and key input reach it, and the context reports "inCommand". A command that
// asks its context to finish it is applied or cancelled here as from outside (component_command.h). A runner
// destroyed with a command still running cancels it. GUI thread only.

#include <cstdint>
#include <optional>

#include "framework/object/iptr.h"
#include "host/gui/host_command_container.h"
#include "host/gui/host_gui_dialog.h"
#include "host/scene/host_gfx_view.h"
#include "host_api/component_command.h"

class CommandRunner : public CommandFinisher {
 public:
  enum class Start { kStarted, kBusy, kCannotRun, kActivationRefused };

  // The runner of the container's commands until it goes.
  CommandRunner(HostCommandContainer* container, HostGuiDialog* dialog, HostGfxViewMgr* view);
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;
  ~CommandRunner() override;

  // Holds a reference on the command while it runs. kBusy while another runs; a command that cannot run or
  // refuses activation is let go of.
  Start start(IComponentCommand* command);
  // False, with the command still running, when none runs, canApply answers false or apply fails.
  bool apply();
  // False, with the command still running, when none runs or cancel answers false.
  bool cancel();
  // The command's finish, while it runs; false when none runs.
  bool finish();
  // The running command, or null.
  IComponentCommand* running() const { return command_.get(); }

  // The command asked to be finished (through the container).
  void finishRunning(bool applied) override;

 private:
  void end();
  void closeDialog();

  const IPtr<HostCommandContainer> container_;
  const IPtr<HostGuiDialog> dialog_;
  const IPtr<HostGfxViewMgr> view_;
  IPtr<IComponentCommand> command_;
  // The command last ended, kept until the next start so that a command that asked to be finished can
  // return from the call it asked in.
  IPtr<IComponentCommand> ended_;
  bool starting_ = false;
  bool ending_ = false;
  std::optional<bool> finishAskedWhileStarting_;
};
