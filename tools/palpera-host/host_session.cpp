#include "host_session.h"

#include <cstdio>
#include <set>

#include "host/core/data_item_text.h"
#include "host/core/module_startup.h"

namespace {

// A user setting the module's start-up changes (a choice it makes in place of one it cannot serve, such as
// a plug-in that is not installed) is the module's answer for this run only: the store keeps the user's.
void keepStoredChoices(HostDataStore& store, const std::set<std::string>& changedBefore) {
  for (const HostDataStore::SettingChange& change : store.changedUserSettings()) {
    const std::string& key = change.setting.key;
    if (!change.inFile || changedBefore.count(key)) continue;
    const std::string stored = valueText(change.stored);
    std::fprintf(stderr,
                 "palpera-host: warning: the module's start-up set %s to %s in place of the stored %s; "
                 "the store keeps %s\n",
                 key.c_str(), valueText(change.setting.value).c_str(), stored.c_str(), stored.c_str());
    store.keepStoredValue(key);
  }
}

}  // namespace

HostSession::HostSession(StandinHost& host, ModuleLibrary& module)
    : host(host),
      module(module),
      commands(&host.gui().commandContainer(), &host.gui().dialog(), &host.scene().view()) {}

bool HostSession::start() {
  if (started_) return false;
  started_ = true;
  HostDataStore& store = host.core().dataStore();
  std::set<std::string> changedBefore;
  for (const HostDataStore::SettingChange& change : store.changedUserSettings())
    changedBefore.insert(change.setting.key);
  runModuleStartup(host.root(), module.component());
  keepStoredChoices(store, changedBefore);
  return true;
}

void HostSession::noteReplayStart(const std::string& path) {
  replayedLog_ = path;
  errorsBeforeReplay_ = host.core().errors().reports().size();
}

std::string HostSession::replayFailure() {
  if (!errorsBeforeReplay_) return {};
  const std::string replay = "the replay of the host log '" + replayedLog_ + "' failed: ";
  HostLogReplayer& replayer = host.devices().replayer();
  if (std::string damage = replayer.damage(); !damage.empty()) return replay + damage;
  const std::vector<RecordingErrorService::Report> reports = host.core().errors().reports();
  std::vector<std::u16string> shown;
  for (size_t i = *errorsBeforeReplay_; i < reports.size(); ++i) shown.push_back(reports[i].message);
  // The errors the recording showed, shown again, are the replay reproducing it: a refusal told then is told
  // now.
  const std::vector<std::u16string> recorded = replayer.recordedErrors();
  if (shown == recorded) return {};
  const size_t errors = shown.size();
  std::string failure =
      replay + std::to_string(errors) + (errors == 1 ? " error was" : " errors were") + " shown";
  if (recorded.empty()) return failure;
  return failure + ", not the " + std::to_string(recorded.size()) + " the recording showed";
}
