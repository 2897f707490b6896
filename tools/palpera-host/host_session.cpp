#include "host_session.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "host/core/data_item_text.h"
#include "host/core/module_startup.h"
#include "platform/utf8.h"

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
  // Once the module has registered its settings, a key in the store that means one of them but for what no
  // one sees would leave the setting at its default without a word.
  for (const std::string& unseen : store.keysMeaningSettingsUnseen())
    std::fprintf(stderr, "palpera-host: warning: %s\n", unseen.c_str());
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
  // The replay is judged on the whole log: what it did not reach is read now, its first damaged line too.
  const HostLogReplayer::Unplayed unplayed = replayer.readToTheEnd();
  if (std::string damage = replayer.damage(); !damage.empty()) return replay + damage;
  if (std::string errors = errorsFailure(replay); !errors.empty()) return errors;
  // An acquisition that could not be played fails the replay even where the recording showed the same words.
  if (const std::vector<std::string> unplayable = replayer.unplayedAcquisitions(); !unplayable.empty())
    return replay + unplayable.front();
  if (unplayed.acquisitions > 0)
    return replay + std::to_string(unplayed.acquisitions) +
           (unplayed.acquisitions == 1 ? " recorded acquisition was" : " recorded acquisitions were") +
           " never played, the first on line " + std::to_string(unplayed.firstLine);
  return {};
}

std::string HostSession::errorsFailure(const std::string& replay) {
  const std::vector<RecordingErrorService::Report> reports = host.core().errors().reports();
  std::vector<std::u16string> shown;
  for (size_t i = *errorsBeforeReplay_; i < reports.size(); ++i) shown.push_back(reports[i].message);
  // The errors the recording showed, shown again, are the replay reproducing it: a refusal told then is told
  // now.
  const std::vector<std::u16string> recorded = host.devices().replayer().recordedErrors();
  if (shown == recorded) return {};
  const size_t errors = shown.size();
  if (errors == recorded.size()) {
    const size_t at = std::mismatch(shown.begin(), shown.end(), recorded.begin()).first - shown.begin();
    return replay + "error " + std::to_string(at + 1) + " shown was \"" + platform::toUtf8(shown[at]) +
           "\", where the recording showed \"" + platform::toUtf8(recorded[at]) + "\"";
  }
  std::string failure =
      replay + std::to_string(errors) + (errors == 1 ? " error was" : " errors were") + " shown";
  if (recorded.empty()) return failure;
  return failure + ", not the " + std::to_string(recorded.size()) + " the recording showed";
}
