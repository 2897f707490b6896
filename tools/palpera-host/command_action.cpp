#include "host/api/component_command.h"
#include "module_objects.h"
#include "script_actions.h"

namespace {

const char* whyNotStarted(CommandRunner::Start outcome) {
  switch (outcome) {
    case CommandRunner::Start::kBusy:
      return "another command is running (apply or cancel it first)";
    case CommandRunner::Start::kCannotRun:
      return "the command says it cannot run";
    case CommandRunner::Start::kActivationRefused:
      return "the command refused to activate";
    case CommandRunner::Start::kStarted:
      break;
  }
  return nullptr;
}

}  // namespace

void startCommand(HostSession& session, const ScriptWords& words) {
  if (session.commands.running()) throw ScriptError(whyNotStarted(CommandRunner::Start::kBusy));
  IPtr<IComponentCommand> command = createModuleObject<IComponentCommand>(session, words[0]);
  session.host.gui().commandContainer().setArgumentText(words.size() > 1 ? words[1] : std::string());
  if (const char* reason = whyNotStarted(session.commands.start(command.get()))) {
    throw ScriptError(words[0] + ": " + reason);  // a class of the module: its name is short and plain
  }
}
