#pragma once

// A device plug-in that offers option entries, for the options command's tests. Each entry is given whole:
// its category, key, device, caption and icon, and how the plug-in behaves for it. Every icon handed over
// and every entry run is noted in the test's journal ("icon <key>", "run <key>").

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/devices/support/test_plugin.h"

struct OptionEntry {
  std::string category;  // "HardProbe" or "LaserScan"
  std::string key;
  std::string device;  // the registry name of the device it needs
  std::u16string caption;
  std::vector<uint8_t> icon;     // the PNG bytes; none: no icon
  uint32_t claimedIconSize = 0;  // the size the plug-in reports, when not the icon's own
  bool deliversIcon = true;      // whether optionIcon fills the buffer
  bool runs = true;              // what runOption answers
};

class OptionsPlugin : public TestPlugin {
 public:
  OptionsPlugin(const char16_t* name, const Faces& faces, std::vector<OptionEntry> entries,
                std::vector<std::string>& journal)
      : TestPlugin(name, faces), entries_(std::move(entries)), journal_(journal) {}

  int32_t optionCount(const ZelCString& category) override {
    return static_cast<int32_t>(inCategory(category).size());
  }
  ZelCString optionKey(const ZelCString& category, int32_t index) override {
    std::vector<const OptionEntry*> entries = inCategory(category);
    bool offered = index >= 0 && index < static_cast<int32_t>(entries.size());
    return offered ? owned(entries[index]->key) : ZelCString();
  }
  ZelCString optionDevice(const ZelCString& key) override { return owned(find(key).device); }
  ZelString optionCaption(const ZelCString& key) override {
    ZelString caption;
    caption.setBuffer(find(key).caption.c_str(), -1);
    return caption;
  }
  uint32_t optionIconSize(const ZelCString& key) override {
    const OptionEntry& entry = find(key);
    return entry.claimedIconSize ? entry.claimedIconSize : static_cast<uint32_t>(entry.icon.size());
  }
  bool optionIcon(const ZelCString& key, uint8_t* buffer) override {
    journal_.push_back("icon " + std::string(key.c_str()));
    const OptionEntry& entry = find(key);
    if (entry.deliversIcon) std::copy(entry.icon.begin(), entry.icon.end(), buffer);
    return entry.deliversIcon;
  }
  bool runOption(const ZelCString& key) override {
    journal_.push_back("run " + std::string(key.c_str()));
    return find(key).runs;
  }

 private:
  static ZelCString owned(const std::string& text) {
    return ZelCString(text.c_str(), static_cast<int32_t>(text.size()));
  }
  std::vector<const OptionEntry*> inCategory(const ZelCString& category) const {
    std::vector<const OptionEntry*> found;
    for (const OptionEntry& entry : entries_)
      if (entry.category == category.c_str()) found.push_back(&entry);
    return found;
  }
  // The entry of key; for a key never offered, one with nothing to give that never runs.
  const OptionEntry& find(const ZelCString& key) const {
    static const OptionEntry none{{}, {}, {}, {}, {}, 0, false, false};
    for (const OptionEntry& entry : entries_)
      if (!entry.key.empty() && entry.key == key.c_str()) return entry;
    return none;
  }

  std::vector<OptionEntry> entries_;
  std::vector<std::string>& journal_;
};
