#include "devices/host_log/plugin_manager_log_record_util.h"

#include <optional>

#include "devices/host_log/izel_plugin_device_log_event_handler.h"
#include "devices/host_log/log_record_texts.h"
#include "framework/files/zel_path.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/counter_store.h"
#include "host_api/host_log.h"
#include "platform/file.h"

namespace {

const ClassRegistration<PluginManagerLogRecordUtil> registration(
    registeredClass("PluginManagerLogRecordUtil"));

// File numbers have four digits: past the last the counter starts again.
constexpr int32_t kLastFileNumber = 9999;

bool recording(IGuiLogger* logger) {
  if (!logger || !logger->isRecording()) return false;
  // A replayed session must not record its own replay.
  SPtr<ILogReplayer> replayer;
  return !replayer || !replayer->isReplaying();
}

// The category's next file number; 0 without the host's counters.
int32_t takeFileNumber(const ZelCString& category) {
  SPtr<ICounterStore> counters;
  if (!counters) return 0;
  ZelCString name = ZelCString::concatDumpCounter(category.c_str());
  ICounter* counter = counters->find(name);
  if (!counter) {
    counters->create(name, 1, 0);
    counter = counters->find(name);
  }
  if (!counter) return 0;
  int32_t number = counter->value();
  if (number > kLastFileNumber) {
    counter->reset();
    number = counter->value();
  }
  counter->increment();
  return number;
}

// The next numbered event file of the category that does not exist yet: an older log kept under another
// name still names the files of its own session. Nothing when every number is taken.
std::optional<ZelString> freeEventFile(const ZelString& logFile, const ZelCString& category) {
  for (int32_t tries = 0; tries <= kLastFileNumber; ++tries) {
    ZelString name = eventFileName(logFile, category, takeFileNumber(category));
    if (platform::fileKind(name.c_str()) == platform::FileKind::kMissing) return name;
  }
  return std::nullopt;
}

}  // namespace

void PluginManagerLogRecordUtil::record(const ZelCString& category, const Matrix4x4& deviceTransform,
                                        ZelString& fileName) {
  SPtr<IGuiLogger> logger;
  if (!recording(logger.get())) return;
  // The kinds are the handler's to name; without it nothing can be recorded, and no number is used up.
  IPtr<IZelPluginDeviceLogEventHandler> kinds;
  kinds.createInstance(classIdOf("PluginDeviceLogEventHandler"));
  if (!kinds) return;

  const ZelString logFile = logger->currentLogFile();
  std::optional<ZelString> free = freeEventFile(logFile, category);
  IGuiLoggerReports* reports = queryPart<IGuiLoggerReports>(logger.get());
  if (!free) {
    const ZelString taken = ZelPath::inSeparatorsOf(eventFileName(logFile, category, 0), logFile);
    reportUserError(
        tr("Every device event file name like '%1' is taken: this acquisition is not recorded.", taken));
    if (reports) reports->reportUnrecordedAcquisition();
    return;
  }
  if (reports) reports->reportEventFile(*free);
  // The device names its file to the user as the log was given.
  fileName = ZelPath::inSeparatorsOf(*free, logFile);
  // The records belong to the log even while the user has the logger suspended.
  bool suspended = logger->isSuspended();
  if (suspended) logger->resume();
  logger->writeRecord(kinds->recordKind(ZelCString("alignment")), alignmentText(deviceTransform));
  logger->writeRecord(kinds->recordKind(ZelCString("data")), ZelPath::fileName(*free));
  logger->writeRecord(kinds->recordKind(ZelCString("wait")), ZelString());
  if (suspended) logger->suspend();
}

void PluginManagerLogRecordUtil::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelPluginManagerLogRecordUtil>(this)
      .end();
}
