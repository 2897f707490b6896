#pragma once

// What both plug-in managers share: the current plug-in and its stored name, and the replay hooks. During a
// replay the plug-in that was current before is kept aside and comes back with the last endReplay. Main
// thread only.

#include <cstdint>

#include "devices/host_log/izel_plugin_manager_log_replay_util.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"

class PluginManagerBase : public IZelPluginManager, public ZelUnknownImpl {
 public:
  // choiceKey: the data-store key that keeps the chosen plug-in's name.
  explicit PluginManagerBase(const char* choiceKey) : choiceKey_(choiceKey) {}
  PluginManagerBase(const PluginManagerBase&) = delete;
  PluginManagerBase& operator=(const PluginManagerBase&) = delete;

  IZelPlugin* currentPlugin() override { return current_; }
  IZelPlugin* activePlugin() override { return currentPlugin(); }
  void beginReplay() override;
  void endReplay() override;
  void recordLog(const Matrix4x4& deviceTransform, ZelString& fileName) override;
  void advanceReplay() override;

 protected:
  // Makes the plug-in current and stores its name (the empty text for null).
  void choose(IZelPlugin* plugin);
  // The stored name; empty when none is stored.
  ZelString storedChoice() const;

 private:
  const char* const choiceKey_;
  IZelPlugin* current_ = nullptr;
  IZelPlugin* saved_ = nullptr;  // the plug-in the replay plug-in stands in for, during a replay
  IPtr<IZelPluginManagerLogReplayUtil> replayUtil_;  // held during a replay only
  int32_t replayDepth_ = 0;  // beginReplay calls not yet matched by endReplay, during a replay
};
