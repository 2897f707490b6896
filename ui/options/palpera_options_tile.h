#pragma once

// The module's page "palpera page" in the options dialog's category "Digitizers": the hard-probe and
// scanning plug-in lists, the size slider of the information window (with a preview of the tile while the
// user holds it) and the module's settings as host widgets bound to their keys, which write the settings
// themselves. The lists are made afresh at every build, so plug-ins loaded later show up the next time.
// Main thread only.

#include <cstdint>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "framework/commands/zel_gui_receiver_base.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/gui_page.h"
#include "host_api/gui_tile.h"
#include "ui/tiles/receiver_base.h"

class IZelPlugin;
class IZelPluginManager;

class PalperaOptionsTile : public IZelTile,
                           public ReceiverBase<PalperaOptionsTile>,
                           public virtual ZelGuiReceiverBase,
                           public virtual ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PalperaOptionsTile";
  static constexpr const char* kPageName = "palpera page";
  // Control ids.
  static constexpr int32_t kHardProbeList = 0;
  static constexpr int32_t kScanningList = 1;
  static constexpr int32_t kFeatureMatchingBox = 3;
  static constexpr int32_t kSizeSlider = 4;
  // What the host reports while the user holds the slider.
  static constexpr int32_t kHolding = -1;

  // A setting the page shows through a host widget bound to its key.
  struct BoundSetting;

  PalperaOptionsTile();
  PalperaOptionsTile(const PalperaOptionsTile&) = delete;
  PalperaOptionsTile& operator=(const PalperaOptionsTile&) = delete;
  ~PalperaOptionsTile() override;

  const ZelString& title() override { return category_; }
  const ZelCString& name() override { return pageName_; }
  bool isDockable() override { return true; }
  void activate() override {}
  IGuiTileWindow* window() override { return window_.get(); }
  IGuiTileWindow* clientWindow() override { return window_.get(); }
  void close() override {}
  bool build() override;
  bool isModal() override { return true; }
  void refresh() override {}

  void onGuiValueChanged(int32_t controlId, int32_t value) override;
  void onGuiStateChanged(int32_t controlId, int32_t value) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void refillPluginLists();
  void buildPage(IGuiPageWindow& page, IGuiBaseV3* sliders);
  void addList(IGuiPageWindow& page, int32_t id, const char* name, const char* label,
               const std::vector<IZelPlugin*>& choices);
  void addSettings(const BoundSetting* first, const BoundSetting* last);
  template <class Widget>
  void addWidget(const BoundSetting& setting);
  void selectCurrent(IGuiPageWindow& page, int32_t id, IZelPluginManager* manager,
                     const std::vector<IZelPlugin*>& choices);
  void choose(IZelPluginManager* manager, const std::vector<IZelPlugin*>& choices, int32_t index);
  void followScale(double scale);

  ZelString category_;
  ZelCString pageName_;
  IPtr<IGuiTileWindow> window_;
  std::vector<IPtr<IZelBoundWidget>> widgets_;  // the last build's
  std::vector<IZelPlugin*> hardProbePlugins_;   // not counted; the host's plug-in handler keeps them
  std::vector<IZelPlugin*> scanningPlugins_;    // not counted
};
