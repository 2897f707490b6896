#include "devices/host_log/plugin_manager_log_replay_util.h"

#include "devices/log_replay/log_replay_plugin.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "host_api/data_store.h"

namespace {

const ClassRegistration<PluginManagerLogReplayUtil> registration(
    registeredClass("PluginManagerLogReplayUtil"));

constexpr const char* kShortNames[] = {"data", "wait", "alignment"};

}  // namespace

PluginManagerLogReplayUtil::~PluginManagerLogReplayUtil() {
  if (handler_) handler_->setPlugin(nullptr);
}

bool PluginManagerLogReplayUtil::start() {
  SPtr<ILogReplayer> replayer;
  if (!replayer || !replayer->isReplaying()) return false;
  if (!replayPlugin_) replayPlugin_.createInstance(classIdOf("LogReplayPlugin"));
  if (!handler_) handler_.createInstance(classIdOf("PluginDeviceLogEventHandler"));
  if (!replayPlugin_ || !handler_) {
    replayPlugin_.release();
    handler_.release();
    return false;
  }
  handler_->setPlugin(replayPlugin_.get());
  if (starts_ == 0) logFile_ = replayer->currentLogFile();
  registerKinds(*replayer);
  ++starts_;
  return true;
}

void PluginManagerLogReplayUtil::finish() {
  if (starts_ == 0 || --starts_ > 0) return;
  SPtr<IDataStore> store;
  if (store) store->fireEvent(nullptr, kLogReplayFinished);
  // The announcement reaches the handler only through the data store: end its wait in any case.
  handler_->releaseWait();
  SPtr<ILogReplayer> replayer;
  if (replayer) withdrawKinds(*replayer);
  handler_->setPlugin(nullptr);
  replayPlugin_.release();
}

IZelPlugin* PluginManagerLogReplayUtil::replayPlugin() {
  return replayPlugin_.get();
}

void PluginManagerLogReplayUtil::advanceToData() {
  if (!handler_) return;
  SPtr<ILogReplayer> replayer;
  // The records of earlier acquisitions, their waits among them, are played on the way to this one's data.
  while (!handler_->takeData()) {
    if (!replayer || !replayer->isReplaying() || !replayer->replayNext()) {
      handler_->dropData(logFile_);
      return;
    }
  }
}

void PluginManagerLogReplayUtil::registerKinds(ILogReplayer& replayer) {
  for (const char* shortName : kShortNames)
    replayer.addHandler(handler_->recordKind(ZelCString(shortName)), handler_.get());
  for (const char* shortName : kShortNames)
    replayer.addHandler(handler_->legacyRecordKind(ZelCString(shortName)), handler_.get());
}

void PluginManagerLogReplayUtil::withdrawKinds(ILogReplayer& replayer) {
  // The reverse of the registration order.
  for (auto name = std::rbegin(kShortNames); name != std::rend(kShortNames); ++name)
    replayer.removeHandler(handler_->recordKind(ZelCString(*name)));
  for (auto name = std::rbegin(kShortNames); name != std::rend(kShortNames); ++name)
    replayer.removeHandler(handler_->legacyRecordKind(ZelCString(*name)));
}

void PluginManagerLogReplayUtil::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelPluginManagerLogReplayUtil>(this)
      .end();
}
