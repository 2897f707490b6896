#pragma once

// Runs one command at a time the way the host's GUI does: setContext(container), setGui(dialog), canRun,
// createGui, the dialog's receiver set to the command, activate; later apply (when canApply) or cancel then
// finish, and at the end deactivate with the receiver cleared and the dialog closed (cleared for the next
// command), as it is when activation is refused. While a command runs, the dialog's buttons and values reach
// it. A runner destroyed with a command still running cancels it. GUI thread only.

#include <cstdint>

#include "framework/object/iptr.h"
#include "host/api/component_command.h"
#include "host/gui/host_command_container.h"
#include "host/gui/host_gui_dialog.h"

class CommandRunner {
 public:
  enum class Start { kStarted, kBusy, kCannotRun, kActivationRefused };

  CommandRunner(HostCommandContainer* container, HostGuiDialog* dialog);
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;
  ~CommandRunner();

  // Holds a reference on the command while it runs. kBusy while another runs; a command that cannot run or
  // refuses activation is let go of.
  Start start(IComponentCommand* command);
  // False, with the command still running, when none runs, canApply answers false or apply fails.
  bool apply();
  // False, with the command still running, when none runs or cancel answers false.
  bool cancel();
  // The running command, or null.
  IComponentCommand* running() const { return command_.get(); }

 private:
  void end();
  void closeDialog();

  const IPtr<HostCommandContainer> container_;
  const IPtr<HostGuiDialog> dialog_;
  IPtr<IComponentCommand> command_;
};
