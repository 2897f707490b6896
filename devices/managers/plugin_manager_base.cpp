#include "devices/managers/plugin_manager_base.h"

#include "devices/contracts/plugin.h"
#include "devices/host_log/izel_plugin_manager_log_record_util.h"
#include "host_api/data_store.h"

namespace {
// Both managers record under this one category, the scanner's too: replays look for it.
constexpr const char* kRecordCategory = "HardProbe";
}  // namespace

void PluginManagerBase::choose(IZelPlugin* plugin) {
  current_ = plugin;
  SPtr<IDataStore> store;
  if (store) store->setString(nullptr, choiceKey_, plugin ? plugin->getName() : ZelString());
}

ZelString PluginManagerBase::storedChoice() const {
  SPtr<IDataStore> store;
  return store ? store->getString(choiceKey_) : ZelString();
}

void PluginManagerBase::beginReplay() {
  // A nested connect joins the replay under way. Saving again would keep the replay plug-in as the one to
  // restore, and the last endReplay would then leave a released plug-in current.
  if (replayDepth_ > 0) {
    ++replayDepth_;
    return;
  }
  replayUtil_.getService();
  if (!replayUtil_ || !replayUtil_->start()) {
    replayUtil_.release();
    return;
  }
  saved_ = activePlugin();
  current_ = replayUtil_->replayPlugin();
  replayDepth_ = 1;
}

void PluginManagerBase::endReplay() {
  if (replayDepth_ == 0 || --replayDepth_ > 0) return;
  current_ = saved_;
  saved_ = nullptr;
  IPtr<IZelPluginManagerLogReplayUtil> util = std::move(replayUtil_);
  util->finish();
}

void PluginManagerBase::recordLog(const Matrix4x4& deviceTransform, ZelString& fileName) {
  SPtr<IZelPluginManagerLogRecordUtil> util;
  if (util) util->record(ZelCString(kRecordCategory), deviceTransform, fileName);
}

void PluginManagerBase::advanceReplay() {
  if (replayUtil_) replayUtil_->advanceToData();
}
