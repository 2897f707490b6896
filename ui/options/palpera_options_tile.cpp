#include "ui/options/palpera_options_tile.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/managers/loaded_plugins.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"
#include "ui/options/info_size_slider.h"
#include "ui/options/plugin_choices.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

const ClassRegistration<PalperaOptionsTile> registration(registeredClass("PalperaOptionsTile"));

// The GUI receiver base answers by name too, as a class of its own.
constexpr const char* kGuiReceiverBaseName = "ZelGuiReceiverBase";
constexpr const char* kInfoTileName = "hardprobe info tile";
constexpr IGuiPageWindow::ListStyle kListStyle = {0, 1, 0, 1, 0, 12, 0, 0};
constexpr int32_t kSectionLevel = 1;
constexpr int32_t kSectionFlag = 1;

}  // namespace

struct PalperaOptionsTile::BoundSetting {
  enum Kind { kToggle, kNumber, kLength };
  const char* label;  // empty: the widget shows no label
  Kind kind;
  const char* key;
  const char* dependsOn;  // null: usable whatever the other settings
};

namespace {

using Bound = PalperaOptionsTile::BoundSetting;

constexpr Bound kTransformSettings[] = {
    {"Hardware", Bound::kToggle, "Palpera/Alignment/LoadHardwareTransformation", nullptr},
    {"Software", Bound::kToggle, "Palpera/Alignment/LoadSoftwareTransformation", nullptr},
};
constexpr Bound kInfoWindowSettings[] = {
    {"Show Info Window", Bound::kToggle, "Palpera/Tile/ShowInfo", nullptr},
    {"Show Current Feature Info", Bound::kToggle, "Palpera/Tile/ShowFeatureInfo", "Palpera/Tile/ShowInfo"},
};
constexpr Bound kGraphicsSettings[] = {
    {"Transparent REF Object", Bound::kToggle, "Palpera/Gfx/TransparentReferenceObject", nullptr},
    {"Reset View After Probing Feature", Bound::kToggle, "Palpera/Gfx/ResetBoundingBox", nullptr},
};
constexpr const char* kMatchingKey = "Palpera/FeatureMatching/Enable";
constexpr Bound kMatchingSettings[] = {
    {"Set Feature Names From Similar REF Features", Bound::kToggle, kMatchingKey, nullptr},
    {"Max. Distance", Bound::kLength, "Palpera/FeatureMatching/MaxDistance", kMatchingKey},
    {"Max. Angle", Bound::kNumber, "Palpera/FeatureMatching/MaxAngle", kMatchingKey},
};
constexpr Bound kLoggingSettings[] = {
    {"Enable Logging", Bound::kToggle, "Palpera/Logging", nullptr},
};
constexpr const char* kRateLimitKey = "Palpera/MoveEventRateLimit";
constexpr Bound kRateLimitSettings[] = {
    {"Limit Move Event Frequency (Hz)", Bound::kToggle, kRateLimitKey, nullptr},
    {"", Bound::kNumber, "Palpera/MoveEventRateLimitValue", kRateLimitKey},
};
constexpr Bound kEmulatorSettings[] = {
    {"Probe Diameter", Bound::kLength, "Palpera/Emulator/ProbeDiameter", nullptr},
    {"Max. Noise Factor", Bound::kNumber, "Palpera/Emulator/MaxNoiseFactor", nullptr},
};

ZelString labelText(const char* label) {
  return *label ? tr(label) : ZelString();
}

}  // namespace

PalperaOptionsTile::PalperaOptionsTile() : category_(u"Digitizers"), pageName_(kPageName) {
  SPtr<IGuiWin> windows;
  if (windows) window_ = windows->createPage(this, kPageName);
  listen(kInfoScaleKey, &PalperaOptionsTile::followScale);
}

PalperaOptionsTile::~PalperaOptionsTile() {
  if (!window_) return;
  window_.release();
  SPtr<IGuiWin> windows;
  if (windows) windows->destroyPage(kPageName);
}

bool PalperaOptionsTile::build() {
  IGuiPageWindow* page = queryPart<IGuiPageWindow>(window_.get());
  if (!page) return false;
  IGuiBaseV3* sliders = queryPart<IGuiBaseV3>(window_.get());
  refillPluginLists();
  // The widgets of an earlier build are bound to controls the page no longer shows.
  widgets_.clear();
  window_->setReceiver(this);
  buildPage(*page, sliders);
  selectCurrent(*page, kHardProbeList, getHardProbePluginManager(), hardProbePlugins_);
  selectCurrent(*page, kScanningList, getLaserScanPluginManager(), scanningPlugins_);
  if (sliders) {
    SPtr<IDataStore> store;
    const double scale = store ? store->getDouble(kInfoScaleKey, 0) : 0;
    page->setSliderPosition(kSizeSlider, sliderPosition(scale, infoScaleRange()));
  }
  return true;
}

void PalperaOptionsTile::refillPluginLists() {
  hardProbePlugins_.clear();
  scanningPlugins_.clear();
  // Without the host's plug-in handler there is nothing to choose from, not even none.
  std::optional<std::vector<IZelPlugin*>> loaded = loadedPlugins();
  if (!loaded) return;
  hardProbePlugins_ = pluginChoices(*loaded, getHardProbePluginManager());
  scanningPlugins_ = pluginChoices(*loaded, getLaserScanPluginManager());
}

void PalperaOptionsTile::buildPage(IGuiPageWindow& page, IGuiBaseV3* sliders) {
  page.beginGroup(0, ZelString(), 0);
  page.beginGroup(kSectionLevel, tr("Plug-Ins"), kSectionFlag);
  addList(page, kHardProbeList, "PalperaPluginList", "Palpera Plug-In", hardProbePlugins_);
  addList(page, kScanningList, "ScanningPluginList", "Scanning Plug-In", scanningPlugins_);
  page.endGroup();
  page.beginGroup(kSectionLevel, tr("Load Previous Transformation Matrix with New File"), kSectionFlag);
  addSettings(std::begin(kTransformSettings), std::end(kTransformSettings));
  page.endGroup();
  page.beginGroup(kSectionLevel, tr("Info Window"), kSectionFlag);
  addSettings(std::begin(kInfoWindowSettings), std::end(kInfoWindowSettings));
  if (sliders) {
    page.beginGroup(kSectionLevel, tr("Size"), kSectionFlag);
    sliders->addSlider(kSizeSlider, "InfoPanelSizeSlider", tr("Small"), tr("Large"), 0, 2);
    page.setTracking(kSizeSlider, true);
    page.setRange(kSizeSlider, 1, 10, 1);
    page.endGroup();
  }
  page.endGroup();
  page.beginGroup(kSectionLevel, tr("Graphics"), kSectionFlag);
  addSettings(std::begin(kGraphicsSettings), std::end(kGraphicsSettings));
  page.endGroup();
  page.beginNamedGroup(kFeatureMatchingBox, "FeatureMatchingBox", kSectionLevel, tr("Feature Matching"),
                       kSectionFlag);
  addSettings(std::begin(kMatchingSettings), std::end(kMatchingSettings));
  page.endGroup();
  page.beginGroup(kSectionLevel, tr("Data"), kSectionFlag);
  addSettings(std::begin(kLoggingSettings), std::end(kLoggingSettings));
  page.beginRow(0, ZelString(), 0);
  addSettings(std::begin(kRateLimitSettings), std::end(kRateLimitSettings));
  page.endGroup();
  page.endGroup();
  page.beginGroup(kSectionLevel, tr("Hard Probe Emulator"), kSectionFlag);
  addSettings(std::begin(kEmulatorSettings), std::end(kEmulatorSettings));
  page.endGroup();
  page.endGroup();
  page.finish(this);
}

void PalperaOptionsTile::addList(IGuiPageWindow& page, int32_t id, const char* name, const char* label,
                                 const std::vector<IZelPlugin*>& choices) {
  ZelCountedArray<ZelString> texts(
      ZelCountedArray<ZelString>::ItemCount{static_cast<int32_t>(choices.size())});
  choiceTexts(choices, texts);
  page.addList(id, name, tr(label), texts, kListStyle);
}

void PalperaOptionsTile::addSettings(const BoundSetting* first, const BoundSetting* last) {
  for (const BoundSetting* setting = first; setting != last; ++setting) {
    if (setting->kind == BoundSetting::kToggle)
      addWidget<IZelToggleWidget>(*setting);
    else
      addWidget<IZelFloatWidget>(*setting);
  }
}

template <class Widget>
void PalperaOptionsTile::addWidget(const BoundSetting& setting) {
  IPtr<Widget> widget;
  widget.getService();
  if (!widget) return;
  widget->setKey(setting.key);
  if (setting.dependsOn) widget->dependsOn(setting.dependsOn);
  if constexpr (std::is_same_v<Widget, IZelFloatWidget>) {
    if (setting.kind == BoundSetting::kLength) widget->setLength(1);
  }
  widget->build(window_.get(), labelText(setting.label));
  widget->activate();
  widgets_.emplace_back(widget.get());
}

void PalperaOptionsTile::selectCurrent(IGuiPageWindow& page, int32_t id, IZelPluginManager* manager,
                                       const std::vector<IZelPlugin*>& choices) {
  if (!manager) return;
  auto found = std::find(choices.begin(), choices.end(), manager->currentPlugin());
  if (found != choices.end()) page.selectItem(id, static_cast<int32_t>(found - choices.begin()), 1);
}

void PalperaOptionsTile::choose(IZelPluginManager* manager, const std::vector<IZelPlugin*>& choices,
                                int32_t index) {
  if (manager && index >= 0 && index < static_cast<int32_t>(choices.size()))
    manager->setActivePlugin(choices[index]);
}

void PalperaOptionsTile::onGuiValueChanged(int32_t controlId, int32_t value) {
  switch (controlId) {
    case kHardProbeList:
      choose(getHardProbePluginManager(), hardProbePlugins_, value);
      break;
    case kScanningList:
      choose(getLaserScanPluginManager(), scanningPlugins_, value);
      break;
    case kSizeSlider: {
      SPtr<IDataStore> store;
      if (store) store->setDouble(this, kInfoScaleKey, sliderScale(value, infoScaleRange()));
      requestRedraw(false);
      break;
    }
    default:
      break;
  }
}

void PalperaOptionsTile::onGuiStateChanged(int32_t controlId, int32_t value) {
  if (controlId != kSizeSlider) return;
  IPtr<IZelHardProbeTile> facade;
  facade.createInstance(classIdOf("HardProbeTileFacade"));
  if (!facade) return;
  facade->setFlag("ShowFeatureInfo", 1);
  facade->setFlag("ShowBriefInstructions", 1);
  facade->showTile(ZelCString(kInfoTileName), value == kHolding);
  requestRedraw(false);
}

void PalperaOptionsTile::followScale(double scale) {
  IGuiPageWindow* page = queryPart<IGuiPageWindow>(window_.get());
  if (page) page->setSliderPosition(kSizeSlider, sliderPosition(scale, infoScaleRange()));
}

void PalperaOptionsTile::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelTile*>(this))
      .offer<IZelTile>(this)
      .offer<IZelDataReceiver>(this)
      .classLeaf(kGuiReceiverBaseName, static_cast<ZelGuiReceiverBase*>(this), static_cast<IZelTile*>(this))
      .offer<IGuiReceiver>(this)
      .end();
}
