#include <cstdio>
#include <string>
#include <variant>

#include "host/core/data_item_text.h"
#include "host/core/field_escape.h"
#include "host/core/host_script_command.h"
#include "host_api/script_factory.h"
#include "module_objects.h"
#include "running_command.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

namespace {

// The script command the object describes, with the host's own view of its arguments.
IPtr<HostScriptCommand> describedBy(IScriptable& scriptable, const std::string& className) {
  IPtr<IScriptCommand> described;
  described.takeOwnership(scriptable.describeScriptCommand());
  auto* command = dynamic_cast<HostScriptCommand*>(described.get());
  if (!command) throw ScriptError(shownWord(className) + " describes no script command");
  return IPtr<HostScriptCommand>(command);
}

// Sets the argument NAME=VALUE of a word, the value read as the argument's declared type.
void setArgument(HostScriptCommand& command, const std::string& word) {
  const size_t equals = word.find('=');
  if (equals == std::string::npos) throw ScriptError(shownWord(word) + " is no NAME=VALUE");
  const std::string name = word.substr(0, equals);
  const std::string value = word.substr(equals + 1);
  const HostScriptCommand::Argument* argument = nullptr;
  for (const HostScriptCommand::Argument& each : command.arguments()) {
    if (each.name == name) argument = &each;
  }
  if (!argument) {
    throw ScriptError(std::string(command.commandName().c_str()) + " has no argument " + shownWord(name));
  }
  switch (argument->type()) {
    case IScriptCommand::kString:
      command.setString(name.c_str(), ZelCString(value.c_str(), static_cast<int32_t>(value.size())));
      break;
    case IScriptCommand::kDouble:
      command.setDouble(name.c_str(), numberWord(value));
      break;
    case IScriptCommand::kInt: {
      std::optional<int32_t> number = readInt32(value);
      if (!number) throw ScriptError(shownWord(value) + " is no whole number of 32 bits");
      command.setInt(name.c_str(), *number);
      break;
    }
  }
}

std::string argumentText(const HostScriptCommand::Value& value) {
  if (auto* text = std::get_if<std::string>(&value)) return escapeField(*text);
  if (auto* number = std::get_if<double>(&value)) return doubleText(*number);
  return std::to_string(std::get<int32_t>(value));
}

}  // namespace

// A module's class that serves a script command: its command, the words' arguments set, run.
void runScriptCommand(HostSession& session, const ScriptWords& words) {
  IPtr<IScriptable> scriptable = createModuleObject<IScriptable>(session, words[0]);
  IPtr<HostScriptCommand> command = describedBy(*scriptable, words[0]);
  for (size_t i = 1; i < words.size(); ++i) setArgument(*command, words[i]);
  if (!scriptable->runScriptCommand(command.get())) {
    throw ScriptError(std::string(command->commandName().c_str()) + " did not run");
  }
}

// The command's name, then each argument as NAME=VALUE, tab-separated: what the running command records.
void printRecordedCommand(HostSession& session, const ScriptWords&) {
  requireRunningCommand(session);
  void* part = nullptr;
  session.commands.running()->queryInterface(IScriptable::interfaceName, &part, false);
  if (!part) throw ScriptError("the running command records no script command");
  auto* scriptable = static_cast<IScriptable*>(part);
  IPtr<HostScriptCommand> command = describedBy(*scriptable, "the running command");
  scriptable->recordScriptCommand(command.get());
  std::string line = command->commandName().c_str();
  for (const HostScriptCommand::Argument& argument : command->arguments())
    line += "\t" + argument.name + "=" + argumentText(argument.current());
  std::printf("%s\n", line.c_str());
}
