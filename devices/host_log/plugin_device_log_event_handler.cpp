#include "devices/host_log/plugin_device_log_event_handler.h"

#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "devices/host_log/log_record_texts.h"
#include "devices/log_replay/log_replay_plugin.h"
#include "framework/files/zel_path.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "host_api/data_store.h"
#include "host_api/main_application.h"
#include "platform/utf8.h"

namespace {

const ClassRegistration<PluginDeviceLogEventHandler> registration(
    registeredClass("PluginDeviceLogEventHandler"));

// How often a wait looks for the end of the replay and lets the host deliver its events meanwhile.
constexpr std::chrono::milliseconds kWaitPoll{30};
// How long a wait holds the host for a run that is not under way: the worker thread of an acquisition that
// has just started reaches the plug-in's run well within it, and a run that has ended announces its end
// within it. A run that never begins (its thread failed to start) holds the host no longer.
constexpr std::chrono::seconds kRunStartBound{2};

constexpr const char* kData = "data";
constexpr const char* kWait = "wait";
constexpr const char* kAlignment = "alignment";

const ZelCString& kindIn(const ZelHashTable<ZelCString, ZelCString>& table, const ZelCString& shortName) {
  const ZelCString* kind = table.find(shortName);
  return kind ? *kind : emptyZelCString();
}

// The log being replayed, as the user gave it; empty when there is none.
ZelString replayedLog() {
  SPtr<ILogReplayer> replayer;
  return replayer ? replayer->currentLogFile() : ZelString();
}

// A file the log names, beside the log, in the separators the user gave the log in: a log without a folder
// names it by its bare name, as the user would.
ZelString besideLog(const ZelString& log, const ZelString& name) {
  ZelString path = log;
  ZelPath::normalize(path);
  path = path.isEmpty() || ZelPath::fileName(path) == path ? ZelString() : ZelPath::directory(path);
  ZelPath::append(path, name);
  return ZelPath::inSeparatorsOf(path, log);
}

// The host hands record texts over as UTF-8.
ZelString fromRecordText(const ZelCString& text) {
  std::u16string wide = platform::fromUtf8(text.c_str());
  ZelString converted;
  converted.setBuffer(wide.c_str(), -1);
  return converted;
}

}  // namespace

PluginDeviceLogEventHandler::PluginDeviceLogEventHandler() {
  kinds_.set(ZelCString(kData), ZelCString("PluginData"));
  kinds_.set(ZelCString(kWait), ZelCString("PluginWait"));
  kinds_.set(ZelCString(kAlignment), ZelCString("PluginAlignmentMatrix"));
  legacyKinds_.set(ZelCString(kData), ZelCString("HardProbeData"));
  legacyKinds_.set(ZelCString(kWait), ZelCString("HardProbeWait"));
  legacyKinds_.set(ZelCString(kAlignment), ZelCString("HardProbeAlignmentMatrix"));
  SPtr<IDataStore> store;
  if (store) store->addListener(kLogReplayFinished, this);
}

PluginDeviceLogEventHandler::~PluginDeviceLogEventHandler() {
  SPtr<IDataStore> store;
  if (store) store->removeListener(kLogReplayFinished, this);
}

const ZelCString& PluginDeviceLogEventHandler::recordKind(const ZelCString& shortName) {
  return kindIn(kinds_, shortName);
}

const ZelCString& PluginDeviceLogEventHandler::legacyRecordKind(const ZelCString& shortName) {
  return kindIn(legacyKinds_, shortName);
}

bool PluginDeviceLogEventHandler::isKind(const ZelCString& kind, const char* shortName) const {
  ZelCString name(shortName);
  return kind == kindIn(kinds_, name) || kind == kindIn(legacyKinds_, name);
}

bool PluginDeviceLogEventHandler::handleRecord(const ZelCString& kind, const std::vector<ZelCString>& texts) {
  if (isKind(kind, kData)) return applyData(texts);
  if (isKind(kind, kWait)) {
    waitForReplayEnd();
    return true;
  }
  if (isKind(kind, kAlignment)) return applyAlignment(texts);
  return false;
}

IPtr<LogReplayPlugin> PluginDeviceLogEventHandler::attachedPlugin() {
  std::lock_guard lock(lock_);
  return IPtr<LogReplayPlugin>(plugin_);
}

bool PluginDeviceLogEventHandler::applyData(const std::vector<ZelCString>& texts) {
  IPtr<LogReplayPlugin> plugin = attachedPlugin();
  if (!plugin) return false;
  if (texts.empty()) {
    dataWithoutFile_ = true;
    return false;
  }
  plugin->setFileName(besideLog(replayedLog(), fromRecordText(texts.front())));
  data_ = Data::kPending;
  // An announcement heard before this acquisition's data belongs to an earlier one (the end of the previous
  // replay announces itself too): only the plug-in's coming run may end the next wait.
  std::lock_guard lock(lock_);
  replayFinished_ = false;
  return true;
}

bool PluginDeviceLogEventHandler::applyAlignment(const std::vector<ZelCString>& texts) {
  IPtr<LogReplayPlugin> plugin = attachedPlugin();
  if (!plugin || texts.empty()) return false;
  Matrix4x4 transform;
  if (std::optional<std::string> refusal = parseAlignmentText(texts.front().c_str(), transform)) {
    reportUserError(ZelString(refusal->c_str()));
    return false;
  }
  plugin->setRecordedTransform(transform);
  return true;
}

bool PluginDeviceLogEventHandler::takeData() {
  if (data_ != Data::kPending) return false;
  data_ = Data::kTaken;
  dataWithoutFile_ = false;
  return true;
}

void PluginDeviceLogEventHandler::dropData(const ZelString& logFile) {
  const std::u16string log = std::u16string(u"the host log '") + logFile.c_str() + u"'";
  const std::u16string reason = dataWithoutFile_ ? log + u" has a data record that names no device-event file"
                                                 : u"the replay of " + log + u" ended before its device data";
  dataWithoutFile_ = false;
  IPtr<LogReplayPlugin> plugin = attachedPlugin();
  if (plugin) plugin->setNoData(reason);
}

void PluginDeviceLogEventHandler::waitForReplayEnd() {
  const bool runStarted = data_ == Data::kTaken;
  data_ = Data::kNone;
  if (runStarted) waitForRun();
  std::lock_guard lock(lock_);
  replayFinished_ = false;
}

void PluginDeviceLogEventHandler::waitForRun() {
  using Clock = std::chrono::steady_clock;
  SPtr<IEventService> events;
  {
    std::lock_guard lock(lock_);
    ++waits_;
  }
  Clock::time_point giveUp = Clock::now() + kRunStartBound;
  while (!waitOver()) {
    IPtr<LogReplayPlugin> plugin = attachedPlugin();
    if (plugin && plugin->isRunning()) {
      giveUp = Clock::now() + kRunStartBound;
    } else if (Clock::now() >= giveUp) {
      break;
    }
    std::this_thread::sleep_for(kWaitPoll);
    if (events) events->processEvents(false);
  }
  std::lock_guard lock(lock_);
  if (--waits_ == 0) waitReleased_ = false;
}

bool PluginDeviceLogEventHandler::waitOver() {
  std::lock_guard lock(lock_);
  return replayFinished_ || waitReleased_;
}

void PluginDeviceLogEventHandler::releaseWait() {
  std::lock_guard lock(lock_);
  if (waits_ > 0) waitReleased_ = true;
}

void PluginDeviceLogEventHandler::interrupt() {
  releaseWait();
  IPtr<LogReplayPlugin> plugin = attachedPlugin();
  if (plugin) plugin->cancel();
}

bool PluginDeviceLogEventHandler::onNotify(const char* key) {
  if (!key || std::strcmp(key, kLogReplayFinished) != 0) return false;
  {
    std::lock_guard lock(lock_);
    replayFinished_ = true;
  }
  reportFailure();
  return true;
}

void PluginDeviceLogEventHandler::reportFailure() {
  IPtr<LogReplayPlugin> plugin = attachedPlugin();
  ZelString failure = plugin ? plugin->takeFailure() : ZelString();
  if (!failure.isEmpty()) reportUserError(failure);
}

void PluginDeviceLogEventHandler::setPlugin(LogReplayPlugin* plugin) {
  std::lock_guard lock(lock_);
  plugin_ = plugin;
}

void PluginDeviceLogEventHandler::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelPluginDeviceLogEventHandler>(this)
      .offer<ILogReplayer::ILogEventHandler>(this)
      .offer<ILogReplayer::IInterruptibleLogEventHandler>(this)
      .offer<IAcquisitionRecordKinds>(this)
      .offer<IZelDataReceiver>(this)
      .end();
}
