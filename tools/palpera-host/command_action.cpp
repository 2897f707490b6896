#include <algorithm>
#include <string>
#include <vector>

#include "devices/contracts/plugin.h"
#include "host_api/component_command.h"
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

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

int32_t optionEntries(IZelPlugin* plugin) {
  int32_t entries = 0;
  for (const char* category : {"HardProbe", "LaserScan"}) {
    entries += std::max<int32_t>(0, plugin->optionCount(ZelCString(category)));
  }
  return entries;
}

// What a command reads of the host before it runs: the context flags set and the device plug-ins loaded with
// their option entries. The host cannot know which of them the command minded, so it names them all.
std::string hostState(HostSession& session) {
  std::vector<std::string> flags = session.host.gui().commandContainer().flagsSet();
  std::string text = flags.empty() ? "no context flag set" : "context flags set: " + joined(flags);
  ZelCountedArray<IZelPlugin*> loaded;
  session.host.devices().pluginHandler().getPlugins(loaded);
  std::vector<std::string> plugins;
  for (int32_t i = 1; i <= loaded.count(); ++i) {  // counted arrays start at 1
    const int32_t entries = optionEntries(loaded[i]);
    plugins.push_back(std::string(loaded[i]->className()) + " (" +
                      (entries ? std::to_string(entries) : std::string("no")) + " option entries)");
  }
  text += plugins.empty() ? "; no device plug-in loaded" : "; plug-ins loaded: " + joined(plugins);
  return text;
}

}  // namespace

void startCommand(HostSession& session, const ScriptWords& words) {
  if (session.commands.running()) throw ScriptError(whyNotStarted(CommandRunner::Start::kBusy));
  IPtr<IComponentCommand> command = createModuleObject<IComponentCommand>(session, words[0]);
  session.host.gui().commandContainer().setArgumentText(words.size() > 1 ? words[1] : std::string());
  const CommandRunner::Start outcome = session.commands.start(command.get());
  if (const char* reason = whyNotStarted(outcome)) {
    std::string text = words[0] + ": " + reason;  // a class of the module: its name is short and plain
    if (outcome == CommandRunner::Start::kCannotRun) text += " (the host: " + hostState(session) + ")";
    throw ScriptError(text);
  }
}
