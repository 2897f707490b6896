#pragma once

// The host command "Plug-In Options": the option entries that the active hard-probe plug-in and the active
// scanning plug-in offer, one button each, in one group per device kind. An entry is an action the plug-in
// runs itself once the device it needs is connected; pressing its button connects that device (through the
// device's own retry dialog) and has the plug-in run the entry. The last device connected stays connected
// until the next press needs another one or the command ends. The command never starts acquisition.
//
// Created by the host per use; main thread only. The plug-ins belong to the host's plug-in handler: the
// command holds a reference on each plug-in it shows an entry of, for as long as it shows it.

#include <cstdint>

#include "basic_types/zel_array.h"
#include "basic_types/zel_cstring.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "host_api/gui_dialog.h"

class PluginOptionsCmd : public CompBaseCmd, public IDialogRemover {
 public:
  static constexpr const char* interfaceName = "PluginOptionsCmd";
  // The id of the first entry button; entries of both groups follow without gaps.
  static constexpr int32_t kFirstEntryId = 4;
  static constexpr int32_t kHardProbeGroupId = 2;
  static constexpr int32_t kLaserScanGroupId = 3;
  // The largest icon a plug-in may hand over: an icon is a few kilobytes, and a plug-in that claims more
  // must not make the command allocate whatever it says.
  static constexpr uint32_t kLargestIconBytes = 16u << 20;

  PluginOptionsCmd();
  PluginOptionsCmd(const PluginOptionsCmd&) = delete;
  PluginOptionsCmd& operator=(const PluginOptionsCmd&) = delete;

  // False inside another command, while a macro is recorded, or when neither active plug-in offers an entry.
  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // True exactly when the dialog shows at least one entry.
  bool activate() override;
  void deactivate() override;
  void onGuiEvent(int32_t id, int32_t value) override;

  bool canRemoveDialog() override { return true; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // One entry shown: its key, the registry name of the device it needs, and the plug-in that offers it.
  struct Entry {
    ZelCString key;
    ZelCString device;
    IPtr<IZelPlugin> plugin;
  };

  // Adds a button for each entry of the category's active plug-in, numbering on after the entries already
  // shown; answers how many it added.
  int32_t addEntries(const char* category);
  // The entry's button: with its icon when the plug-in delivers one that decodes, else plain.
  void addEntryButton(int32_t id, IZelPlugin* plugin, const ZelCString& key);
  // Titles the group with the plug-in of its first entry, or switches the group off when it has none.
  void finishGroup(int32_t groupId, const char* title, int32_t firstEntry, int32_t entryCount);
  // Has the entry's device connected and held; false, with the error reported and no device held, when it
  // does not connect.
  bool connectDeviceOf(const Entry& entry);
  void releaseDevice();

  IPtr<IZelPluginDevice> device_;   // the device the last press connected, or empty
  ZelCountedArray<Entry> entries_;  // the entries shown, in button order, from slot 1
};
