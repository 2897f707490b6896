#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host/gui/host_page_window.h"
#include "host/scene/host_scene_nodes.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "tests/devices/support/test_plugin.h"
#include "ui/options/info_size_slider.h"
#include "ui/options/palpera_options_tile.h"

namespace {

using Page = PalperaOptionsTile;
constexpr const char* kScale = "Palpera/Tile/Scale";

// The page as the host's options dialog has it: made by class id, built into its page window, with two arms
// ("Probe 10" loaded before "Probe 2") and a scanner loaded before the managers chose.
class OptionsPage : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    load(TestPlugin::arm(u"Probe 10"));
    probe2_ = load(TestPlugin::arm(u"Probe 2"));
    scanner_ = load(TestPlugin::scanner(u"Scanner"));
    runStartupTask("PluginManagerStartupTask");
    tile_.createInstance(classIdOf("PalperaOptionsTile"));
    ASSERT_TRUE(tile_);
    ASSERT_TRUE(host_.gui().windows().build(Page::kPageName));
    page_ = host_.gui().windows().page(Page::kPageName);
    ASSERT_TRUE(page_);
  }
  void TearDown() override {
    page_.release();
    tile_.release();
    ModuleTest::TearDown();
  }

  IZelPlugin* load(TestPlugin* plugin) {
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(plugin));
    return plugin;
  }
  int32_t sliderPosition() { return page_->slider(Page::kSizeSlider).value().position.value_or(0); }
  double scale() { return host_.core().dataStore().getDouble(kScale, 0); }
  // The information overlay is the first node the module puts under the scene's root.
  bool infoTileShown() {
    const auto& children = host_.document().graphics().root().children();
    auto* overlay = children.empty() ? nullptr : queryPart<HostVisibilitySensitiveNode>(children[0].get());
    return overlay && overlay->visible();
  }

  IZelPlugin* probe2_ = nullptr;
  IZelPlugin* scanner_ = nullptr;
  IPtr<IZelTile> tile_;
  IPtr<HostPageWindow> page_;
};

TEST_F(OptionsPage, TheSliderFollowsTheScaleAndWritesIt) {
  EXPECT_EQ(std::u16string(tile_->title().c_str()), u"Digitizers");
  const HostPageWindow::Slider slider = page_->slider(Page::kSizeSlider).value();
  EXPECT_TRUE(slider.tracking);
  EXPECT_EQ(std::tuple(slider.minimum, slider.maximum, slider.step), std::tuple(1, 10, 1));
  EXPECT_EQ(sliderPosition(), 10) << "the registered default scale 1";

  const struct {
    double scale;
    int32_t position;
  } kScales[] = {{1.0 / 3, 1}, {0.5, 3}, {2.0 / 3, 5}, {0.75, 7}, {1, 10}};
  for (const auto& each : kScales) {
    host_.core().dataStore().setDouble(nullptr, kScale, each.scale);
    EXPECT_EQ(sliderPosition(), each.position) << each.scale;
  }

  const struct {
    int32_t position;
    double scale;
  } kPositions[] = {{1, 1.0 / 3}, {2, 0.40740740740740733}, {10, 1}};
  for (const auto& each : kPositions) {
    ASSERT_TRUE(page_->slide(Page::kSizeSlider, each.position));
    EXPECT_EQ(scale(), each.scale) << each.position;
  }
  EXPECT_FALSE(page_->slide(Page::kSizeSlider, 11));
  EXPECT_EQ(scale(), 1);

  // The host's store clamps too; the page's own mapping must not rely on it.
  const ScaleRange range{1.0 / 3, 1};
  EXPECT_EQ(sliderScale(10, range), 1.0) << "a hair above 1 before the clamp";
  EXPECT_EQ(sliderScale(0, range), 1.0 / 3);
  EXPECT_EQ(::sliderPosition(2, range), 10);
  EXPECT_EQ(::sliderPosition(0, range), 1);
}

TEST_F(OptionsPage, ListsTheAcceptedPlugInsInNaturalOrderAndPicksTheChosenOne) {
  using Items = std::vector<std::u16string>;
  // The module's start-up loaded its emulator too, which only the hard-probe manager accepts.
  HostPageWindow::List hardProbe = page_->list(Page::kHardProbeList).value();
  HostPageWindow::List scanning = page_->list(Page::kScanningList).value();
  EXPECT_EQ(hardProbe.items, (Items{u"[None]", u"Hard Probe Emulator", u"Probe 2", u"Probe 10"}));
  EXPECT_EQ(scanning.items, (Items{u"[None]", u"Probe 2", u"Probe 10", u"Scanner"}));
  IZelPluginManager* manager = getHardProbePluginManager();
  ASSERT_TRUE(manager && manager->currentPlugin());
  ASSERT_TRUE(hardProbe.selected);
  EXPECT_EQ(hardProbe.items[*hardProbe.selected], manager->currentPlugin()->getName().c_str());

  ASSERT_TRUE(page_->pick(Page::kHardProbeList, 2));
  EXPECT_EQ(manager->currentPlugin(), probe2_);
  ASSERT_TRUE(page_->pick(Page::kHardProbeList, 0));
  EXPECT_EQ(manager->currentPlugin(), nullptr) << "[None] chooses no plug-in";
  page_->receiver()->onGuiValueChanged(Page::kHardProbeList, 4);
  page_->receiver()->onGuiValueChanged(Page::kHardProbeList, -1);
  EXPECT_EQ(manager->currentPlugin(), nullptr) << "a position beyond the list changes nothing";
  ASSERT_TRUE(page_->pick(Page::kScanningList, 3));
  EXPECT_EQ(getLaserScanPluginManager()->currentPlugin(), scanner_);

  host_.root().setService(IZelPluginHandler::interfaceName, nullptr);
  ASSERT_TRUE(host_.gui().windows().build(Page::kPageName));
  EXPECT_TRUE(page_->list(Page::kHardProbeList).value().items.empty())
      << "without a handler, not even [None]";
}

TEST_F(OptionsPage, WithoutAManagerOnlyNoneIsListedAndPicksChangeNothing) {
  SPtr<IZelPluginService> registry;
  ASSERT_TRUE(registry);
  for (const char* kind : {"HardProbe", "LaserScan"}) registry->setManager(ZelCString(kind), nullptr);
  ASSERT_TRUE(host_.gui().windows().build(Page::kPageName));
  for (int32_t id : {Page::kHardProbeList, Page::kScanningList}) {
    HostPageWindow::List list = page_->list(id).value();
    EXPECT_EQ(list.items, std::vector<std::u16string>{u"[None]"});
    EXPECT_FALSE(list.selected);
    EXPECT_TRUE(page_->pick(id, 0));
  }
}

TEST_F(OptionsPage, APlugInLoadedLaterIsListedAtTheNextBuildAndAGonePageIsHandedBack) {
  load(TestPlugin::arm(u"Probe 1"));
  EXPECT_EQ(page_->list(Page::kHardProbeList).value().items.size(), 4u)
      << "not before the page is built again";
  ASSERT_TRUE(host_.gui().windows().build(Page::kPageName));
  EXPECT_EQ(page_->list(Page::kHardProbeList).value().items[2], u"Probe 1");
  EXPECT_EQ(page_->lines().front().kind, "group") << "the page is built afresh, not appended to";
  EXPECT_EQ(page_->lines().size(), 27u);

  tile_.release();
  EXPECT_FALSE(host_.gui().windows().page(Page::kPageName));
  host_.core().dataStore().setDouble(nullptr, kScale, 0.5);
  EXPECT_EQ(sliderPosition(), 10) << "a gone page follows the scale no longer";
}

// Each build binds fresh widgets to the controls it makes; the page keeps those of the last build only.
TEST_F(OptionsPage, ABuildAgainLetsTheEarlierBuildsWidgetsGo) {
  auto widgetsOf = [](const std::vector<HostPageWindow::Line>& lines) {
    std::vector<IPtr<HostWidget>> widgets;
    for (const HostPageWindow::Line& line : lines) {
      if (line.widget) widgets.push_back(line.widget);
    }
    return widgets;
  };
  const std::vector<IPtr<HostWidget>> first = widgetsOf(page_->lines());
  ASSERT_TRUE(host_.gui().windows().build(Page::kPageName));
  ASSERT_TRUE(host_.gui().windows().build(Page::kPageName));
  for (const IPtr<HostWidget>& widget : first) EXPECT_EQ(widget->refCount(), 1u) << widget->key();
  const std::vector<IPtr<HostWidget>> last = widgetsOf(page_->lines());
  ASSERT_EQ(last.size(), 14u) << "nine toggles and five numbers";
  EXPECT_EQ(std::count_if(last.begin(), last.end(),
                          [](const IPtr<HostWidget>& widget) {
                            return std::string(widget->className()) == HostToggleWidget::interfaceName;
                          }),
            9);
  for (const IPtr<HostWidget>& widget : last) EXPECT_EQ(widget->refCount(), 3u) << "page, module and test";
}

TEST_F(OptionsPage, EachWidgetWritesItsKey) {
  const struct {
    const char16_t* label;
    const char* key;
    const char* dependsOn;
    bool length;
    double value;
  } kWidgets[] = {
      {u"Hardware", "Palpera/Alignment/LoadHardwareTransformation", "", false, 0},
      {u"Software", "Palpera/Alignment/LoadSoftwareTransformation", "", false, 1},
      {u"Show Info Window", "Palpera/Tile/ShowInfo", "", false, 0},
      {u"Show Current Feature Info", "Palpera/Tile/ShowFeatureInfo", "Palpera/Tile/ShowInfo", false, 0},
      {u"Transparent REF Object", "Palpera/Gfx/TransparentReferenceObject", "", false, 0},
      {u"Reset View After Probing Feature", "Palpera/Gfx/ResetBoundingBox", "", false, 0},
      {u"Set Feature Names From Similar REF Features", "Palpera/FeatureMatching/Enable", "", false, 0},
      {u"Max. Distance", "Palpera/FeatureMatching/MaxDistance", "Palpera/FeatureMatching/Enable", true, 0.02},
      {u"Max. Angle", "Palpera/FeatureMatching/MaxAngle", "Palpera/FeatureMatching/Enable", false, 12.5},
      {u"Enable Logging", "Palpera/Logging", "", false, 1},
      {u"Limit Move Event Frequency (Hz)", "Palpera/MoveEventRateLimit", "", false, 0},
      {u"", "Palpera/MoveEventRateLimitValue", "Palpera/MoveEventRateLimit", false, 60},
      {u"Probe Diameter", "Palpera/Emulator/ProbeDiameter", "", true, 0.004},
      {u"Max. Noise Factor", "Palpera/Emulator/MaxNoiseFactor", "", false, 0.2},
  };
  HostDataStore& store = host_.core().dataStore();
  for (const auto& each : kWidgets) {
    SCOPED_TRACE(each.key);
    IPtr<HostWidget> widget = page_->widget(each.label);
    ASSERT_TRUE(widget);
    EXPECT_EQ(widget->key(), each.key);
    EXPECT_EQ(widget->dependency(), each.dependsOn);
    EXPECT_EQ(widget->length(), each.length);
    ASSERT_TRUE(widget->change(each.value));
    const bool toggle = std::string(widget->className()) == HostToggleWidget::interfaceName;
    EXPECT_EQ(toggle ? store.getInt(each.key, -1) : store.getDouble(each.key, -1), each.value);
    EXPECT_EQ(widget->shown(), each.value);
  }
}

TEST_F(OptionsPage, HoldingTheSliderPreviewsTheInformationTileInFull) {
  HostDataStore& store = host_.core().dataStore();
  const char* kShown[] = {"Palpera/Tile/FeatureInfoVisible", "Palpera/Tile/BriefInstructionsVisible"};
  for (const char* key : kShown) store.setInt(nullptr, key, 0);
  ASSERT_TRUE(page_->hold(Page::kSizeSlider, true));
  for (const char* key : kShown) EXPECT_EQ(store.getInt(key, 0), 1) << key;
  EXPECT_TRUE(infoTileShown()) << "while held";
  ASSERT_TRUE(page_->hold(Page::kSizeSlider, false));
  EXPECT_FALSE(infoTileShown()) << "once let go";
}

}  // namespace
