#include "commands/plugin_options/plugin_options_cmd.h"

#include <string>
#include <vector>

#include "basic_types/no_destructor.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/user_error.h"
#include "framework/memory/assertion.h"
#include "framework/object/kept_service.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/zel_image.h"

namespace {

const ClassRegistration<PluginOptionsCmd> registration(registeredClass("PluginOptionsCmd"));

constexpr const char* kHardProbe = "HardProbe";
constexpr const char* kLaserScan = "LaserScan";
// The entries shown before the arrays first grow.
constexpr int32_t kInitialEntrySlots = 21;

// The registry, looked up on the first use by any options command and kept until the module unloads.
IPtr<IZelPluginService> pluginService() {
  static NoDestructor<KeptService<IZelPluginService>> kept;
  return kept->get();
}

// The active plug-in of the category's manager ("HardProbe" or "LaserScan"), or null.
IZelPlugin* activePluginOf(const char* category) {
  IPtr<IZelPluginService> registry = pluginService();
  IZelPluginManager* manager = registry ? registry->getManager(ZelCString(category)) : nullptr;
  return manager ? manager->activePlugin() : nullptr;
}

// The number of entries the category's active plug-in offers; a missing plug-in, or a count below 0, is 0.
int32_t entryCountOf(const char* category) {
  IZelPlugin* plugin = activePluginOf(category);
  int32_t count = plugin ? plugin->optionCount(ZelCString(category)) : 0;
  return count > 0 ? count : 0;
}

// The entry's icon decoded into a host image; empty when the plug-in offers none, claims more than a sane
// icon size, does not deliver its bytes, or the bytes do not decode.
IPtr<IZelImage> entryIcon(IZelPlugin* plugin, const ZelCString& key) {
  uint32_t size = plugin->optionIconSize(key);
  if (size < 1 || size > PluginOptionsCmd::kLargestIconBytes) return {};
  std::vector<uint8_t> bytes(size);
  if (!plugin->optionIcon(key, bytes.data())) return {};
  SPtr<IZelImage> image;
  SPtr<IZelImageWriter> writer;
  if (!image || !writer || !writer->decode(image.get(), bytes.data(), size, "PNG", 0, 0)) return {};
  return image;
}

// "ControlBaseID+<id>": how the host's builder is told the id of a control.
std::string controlIdentity(int32_t id) {
  return "ControlBaseID+" + std::to_string(id);
}

}  // namespace

PluginOptionsCmd::PluginOptionsCmd() : entries_(kInitialEntrySlots) {
  name_ = tr("Plug-In Options");
}

bool PluginOptionsCmd::canRun(IZelUnknown* context) {
  if (contextFlag(context, IComponentCommandContainerV2::kInCommand) ||
      contextFlag(context, IComponentCommandContainerV2::kRecordingMacro)) {
    return false;
  }
  return entryCountOf(kHardProbe) > 0 || entryCountOf(kLaserScan) > 0;
}

void PluginOptionsCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  entries_.setCount(0);
  if (!gui_) {
    reportAssertion("dlg_", "pluginoptionscmd", 207);
    return;
  }
  gui_->setControlIcon(IGuiDialog::kDialogIcon, "blank");
  gui_->beginBox("MainBox", 0, ZelString(), true);
  gui_->beginLayout(true);
  gui_->beginGroup("HardProbeBox", 1, ZelString(), true);
  int32_t hardProbeEntries = addEntries(kHardProbe);
  gui_->endGroup();
  gui_->beginGroup("LaserScanBox", 1, ZelString(), true);
  int32_t laserScanEntries = addEntries(kLaserScan);
  gui_->endGroup();
  gui_->endLayout();
  gui_->endGroup();
  finishGroup(kHardProbeGroupId, "Hard Probe Plug-In (%1)", 1, hardProbeEntries);
  finishGroup(kLaserScanGroupId, "Scanning Plug-In (%1)", hardProbeEntries + 1, laserScanEntries);
  gui_->setControlFlag(IGuiDialog::kStandardControl1, false);
  gui_->setControlFlag(IGuiDialog::kStandardControl2, false);
}

int32_t PluginOptionsCmd::addEntries(const char* category) {
  IZelPlugin* plugin = activePluginOf(category);
  ZelCString categoryName(category);
  int32_t count = plugin ? plugin->optionCount(categoryName) : 0;
  int32_t added = 0;
  for (int32_t index = 0; index < count; ++index) {
    Entry entry{plugin->optionKey(categoryName, index), ZelCString(), IPtr<IZelPlugin>(plugin)};
    entry.device = plugin->optionDevice(entry.key);
    if (entry.key.isEmpty() || entry.device.isEmpty()) continue;
    // The entry outlives this call: it must not borrow the plug-in's texts.
    entry.key.makeOwned();
    entry.device.makeOwned();
    entries_.append(entry);
    ++added;
    addEntryButton(kFirstEntryId - 1 + entries_.count(), plugin, entry.key);
  }
  return added;
}

void PluginOptionsCmd::addEntryButton(int32_t id, IZelPlugin* plugin, const ZelCString& key) {
  ZelString caption = plugin->optionCaption(key);
  std::string identity = controlIdentity(id);
  IPtr<IZelImage> icon = entryIcon(plugin, key);
  if (!icon) {
    gui_->addButton(identity.c_str(), caption, true);
    return;
  }
  gui_->addImageButton(identity.c_str(), 0, caption, true);
  gui_->setControlImage(id, icon.get());
}

void PluginOptionsCmd::finishGroup(int32_t groupId, const char* title, int32_t firstEntry,
                                   int32_t entryCount) {
  if (entryCount < 1) {
    gui_->setControlFlag(groupId, false);
    return;
  }
  gui_->setControlText(groupId, tr(title, entries_[firstEntry].plugin->getName()));
}

bool PluginOptionsCmd::activate() {
  return entries_.count() > 0;
}

void PluginOptionsCmd::deactivate() {
  releaseDevice();
  entries_.setCount(0);
}

void PluginOptionsCmd::onGuiEvent(int32_t id, int32_t) {
  int32_t position = id - (kFirstEntryId - 1);
  if (position < 1 || position > entries_.count()) return;
  // A copy: running the entry may call back into the command before it returns.
  Entry entry = entries_[position];
  if (!connectDeviceOf(entry)) return;
  if (!entry.plugin->runOption(entry.key)) reportUserError(tr("Unable to execute command."));
}

bool PluginOptionsCmd::connectDeviceOf(const Entry& entry) {
  IPtr<IZelPluginService> registry = pluginService();
  IZelPluginDevice* device = registry ? registry->getDevice(entry.device) : nullptr;
  if (device_ && device_.get() != device) releaseDevice();
  device_ = device;
  if (device_ && device_->connect()) return true;
  reportUserError(tr("Unable to connect to device."));
  device_.release();
  return false;
}

void PluginOptionsCmd::releaseDevice() {
  if (!device_) return;
  IPtr<IZelPluginDevice> device = std::move(device_);
  device->disconnect();
}

void PluginOptionsCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, static_cast<PluginOptionsCmd*>(this), static_cast<IZelUnknown*>(this))
      .offer<IDialogRemover>(this);
  queryCommandChain(chain);
}
