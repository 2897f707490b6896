#pragma once

// Plays the module's records of the host's log back into the replay plug-in: a data record names the event
// file the plug-in is to play (looked for beside the log being replayed), an alignment record hands it the
// recorded device transform, and a wait record holds the host's replay until the plug-in has played its file
// and "Palpera/LogReplayFinished" has been announced, or until the replay is interrupted or finished.
//
// Each data record belongs to one acquisition: the replay utility takes it for the acquisition that starts,
// and an acquisition that finds none plays nothing ("Error"), never an earlier acquisition's file. A wait
// holds the host only for a run that an acquisition started with its data, and only while that run is under
// way or about to begin: a wait before its data record, or after data no acquisition took, returns at once,
// and a run that never begins holds it for a bounded time only. A failed run's reason, with its file, is
// shown through the host's error service when its end is announced.
//
// Threads: records, the plug-in's attachment and the wait run on the host's main thread; the announcement
// arrives through the data store, and an interruption may come from any thread. lock_ guards the plug-in
// pointer and the wait's flags; it is never held while the plug-in or a host service is called.

#include <cstdint>
#include <vector>

#include "basic_types/zel_hash_table.h"
#include "devices/host_log/izel_plugin_device_log_event_handler.h"
#include "framework/data/zel_data_receiver_base.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/acquisition_record_kinds.h"
#include "host_api/host_log.h"
#include "platform/critical_section.h"

class LogReplayPlugin;

class PluginDeviceLogEventHandler : public IZelPluginDeviceLogEventHandler,
                                    public ILogReplayer::ILogEventHandler,
                                    public ILogReplayer::IInterruptibleLogEventHandler,
                                    public IAcquisitionRecordKinds,
                                    public ZelDataReceiverBase,
                                    public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceLogEventHandler";

  PluginDeviceLogEventHandler();
  PluginDeviceLogEventHandler(const PluginDeviceLogEventHandler&) = delete;
  PluginDeviceLogEventHandler& operator=(const PluginDeviceLogEventHandler&) = delete;
  ~PluginDeviceLogEventHandler() override;

  const ZelCString& recordKind(const ZelCString& shortName) override;
  const ZelCString& legacyRecordKind(const ZelCString& shortName) override;

  // True when the record was one of the six kinds and was applied. A data or alignment record needs an
  // attached plug-in and a text; an alignment text must hold 16 finite numbers.
  bool handleRecord(const ZelCString& kind, const std::vector<ZelCString>& texts) override;
  // Cancels the plug-in's replay under way and ends a wait under way.
  void interrupt() override;
  // The data records, current and legacy: each is one acquisition.
  bool recordsAcquisition(const ZelCString& kind) override { return isKind(kind, "data"); }

  // Hears "Palpera/LogReplayFinished".
  bool onNotify(const char* key) override;

  // The replay utility's side. The plug-in is not held: the utility owns it and detaches it before letting
  // it go.
  void setPlugin(LogReplayPlugin* plugin);
  // An acquisition starts: true, and the data is its own, when a data record was applied that no
  // acquisition has taken and no wait has passed.
  bool takeData();
  // An acquisition starts that no recorded data is left for in the host log at logFile: the plug-in is to
  // play nothing, and to say why (the log ended, or its data record named no file).
  void dropData(const ZelString& logFile);
  // Ends a wait under way, as if the replay had been announced finished.
  void releaseWait();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  using KindTable = ZelHashTable<ZelCString, ZelCString>;

  bool isKind(const ZelCString& kind, const char* shortName) const;
  // The attached plug-in with a reference for the caller, so that it cannot go while it is being used.
  IPtr<LogReplayPlugin> attachedPlugin();
  bool applyData(const std::vector<ZelCString>& texts);
  bool applyAlignment(const std::vector<ZelCString>& texts);
  void waitForReplayEnd();
  void waitForRun();
  bool waitOver();
  void reportFailure();

  // The latest data record: none, applied and waiting for its acquisition, or taken by one.
  enum class Data { kNone, kPending, kTaken };

  KindTable kinds_;
  KindTable legacyKinds_;
  Data data_ = Data::kNone;       // main thread only
  bool dataWithoutFile_ = false;  // main thread only: a data record without text came since the last taken

  platform::CriticalSection lock_;
  LogReplayPlugin* plugin_ = nullptr;  // guarded by lock_
  bool replayFinished_ = false;        // guarded by lock_
  int32_t waits_ = 0;          // waits under way (a wait may nest in the events it lets through); lock_
  bool waitReleased_ = false;  // guarded by lock_: the waits under way are to end
};
