#pragma once

// The stand-in host's log replayer (the service "ILogReplayer"). A replay reads a log file of the format of
// host_log_format.md one record per replayNext and hands it to the handler registered for its kind; the host
// has no recorded actions of its own, so a record of a kind without a handler is passed over (and counted).
// The replay ends at the end of the file, at a damaged line (said by damage()) or when the host interrupts
// it; what a replay left unplayed is read when the host asks (readToTheEnd). The module tells the replayer of
// acquisitions it could not play (ILogReplayerReports). Safe on any thread; no handler is called while the
// lock is held, so a handler may replay further records itself.

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/devices/host_log_format.h"
#include "host_api/acquisition_record_kinds.h"
#include "host_api/host_log.h"
#include "host_api/log_replayer_reports.h"

class HostLogReplayer : public ILogReplayer, public ILogReplayerReports, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostLogReplayer";

  bool isReplaying() override;
  ZelString currentLogFile() override;
  bool replayNext() override;
  void addHandler(const ZelCString& kind, ILogEventHandler* handler) override;
  void removeHandler(const ZelCString& kind) override;
  void reportUnplayedAcquisition(const ZelString& why) override;

  // Host side. Starts replaying the log at path from its first record, ending the replay under way; false,
  // and not replaying, when the file cannot be read.
  bool startReplay(const std::string& path);
  // Ends the replay under way and calls interrupt once on each registered handler that answers
  // "ILogReplayer::IInterruptibleLogEventHandler". Any thread.
  void interruptReplay();
  // Why the latest replay ended early ("line 7 is damaged"), or empty.
  std::string damage();
  // Records of the latest replay that no handler took, but for the host's notes of errors shown.
  size_t passedOver();
  // What the module said of the latest replay's acquisitions it could not play, in order.
  std::vector<std::string> unplayedAcquisitions();
  // What of the latest replay's log was never played: the acquisitions its records hold, by the word of the
  // handlers registered while it ran.
  struct Unplayed {
    size_t acquisitions = 0;
    int64_t firstLine = 0;  // the first of them
  };
  // Ends the replay under way, reading the rest of its log: the acquisitions there are counted, and the first
  // damaged line is kept as damage() says it.
  Unplayed readToTheEnd();
  // The errors the latest replay's log says were shown to the user while it was recorded, in order (its
  // kErrorShownRecord records up to the end or the first damaged line), read when the replay started.
  std::vector<std::u16string> recordedErrors();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  using Handler = IPtr<ILogEventHandler>;

  // The next record and its handler (empty when none is registered); false when the replay has ended.
  bool takeNext(HostLogRecord& record, Handler& handler);
  void endLocked();
  void noteDamageLocked();
  // Notes kind as an acquisition's when its handler says so (IAcquisitionRecordKinds).
  void noteAcquisitionKindLocked(const std::string& kind, ILogEventHandler& handler);

  std::mutex mutex_;
  std::unique_ptr<HostLogReader> reader_;          // guarded by mutex_; null while not replaying
  std::string path_;                               // guarded by mutex_; empty while not replaying
  std::map<std::string, Handler> handlers_;        // guarded by mutex_, by record kind
  std::string damage_;                             // guarded by mutex_
  size_t passedOver_ = 0;                          // guarded by mutex_
  std::vector<std::u16string> recordedErrors_;     // guarded by mutex_
  std::vector<std::string> unplayedAcquisitions_;  // guarded by mutex_
  // guarded by mutex_: the kinds a handler registered during the latest replay says record an acquisition
  std::set<std::string> acquisitionKinds_;
};
