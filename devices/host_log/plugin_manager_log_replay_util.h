#pragma once

// While the host replays its log, lends the plug-in managers the module's replay plug-in, and registers the
// record handler that feeds it for the six record kinds. One shared object; main thread only.
//
// Each manager starts once per replay and finishes once: the utility counts them, and only the last finish
// detaches the plug-in, withdraws the handler and announces the end of the replay, so one manager finishing
// does not take the plug-in from under another. The handler stays for the next replay.

#include <cstdint>

#include "devices/host_log/izel_plugin_manager_log_replay_util.h"
#include "devices/host_log/plugin_device_log_event_handler.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"

class PluginManagerLogReplayUtil : public IZelPluginManagerLogReplayUtil, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginManagerLogReplayUtil";

  PluginManagerLogReplayUtil() = default;
  PluginManagerLogReplayUtil(const PluginManagerLogReplayUtil&) = delete;
  PluginManagerLogReplayUtil& operator=(const PluginManagerLogReplayUtil&) = delete;
  ~PluginManagerLogReplayUtil() override;

  bool start() override;
  void finish() override;
  IZelPlugin* replayPlugin() override;
  void advanceToData() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void registerKinds(ILogReplayer& replayer);
  void withdrawKinds(ILogReplayer& replayer);

  IPtr<LogReplayPlugin> replayPlugin_;  // during a replay only
  IPtr<PluginDeviceLogEventHandler> handler_;
  int32_t starts_ = 0;  // starts not yet matched by a finish
  ZelString logFile_;   // the host log the replay began with, named when its data runs out
};
