#include "ui/tiles/hard_probe_tile_facade.h"

#include "basic_types/zel_hash_table.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "host_api/module_class_ids.h"
#include "ui/instructions/zel_user_instructions.h"
#include "ui/overlay/info_graphics_image_source.h"
#include "ui/overlay/info_graphics_iterator.h"
#include "ui/tiles/tile_items.h"

namespace {

const ClassRegistration<HardProbeTileFacade> registration(registeredClass("HardProbeTileFacade"));

// The tiles the information overlay renders, by name, with their XAML control lists.
struct RenderedTiles : ZelHashTable<ZelCString, ZelCString> {
  RenderedTiles() {
    set(ZelCString("hardprobe info tile"), ZelCString("HardProbeInfoControl.xaml"));
    set(ZelCString("hardprobe real time deviation tile"),
        ZelCString("HardProbeRealTimeDeviationControl.xaml"));
    set(ZelCString("hardprobe dimension tile"),
        ZelCString("HardProbeInfoControl.xaml,HardProbeDimensionControl.xaml"));
  }
};

}  // namespace

HardProbeTileFacade::HardProbeTileFacade() {
  store_.getService();
}

template <class Write>
void HardProbeTileFacade::withNotifications(Write write) {
  if (!store_) return;
  const bool wasOn = store_->notificationsEnabled();
  store_->enableNotifications(true);
  write(*store_);
  store_->enableNotifications(wasOn);
}

void HardProbeTileFacade::clear() {
  if (store_) store_->fireEvent(nullptr, kTileClearEvent);
}

void HardProbeTileFacade::setActive(bool on) {
  if (store_) store_->setInt(nullptr, kTileActiveKey, on ? 1 : 0);
}

const ZelCString* HardProbeTileFacade::xamlControlsOf(const ZelCString& tileName) {
  static const RenderedTiles table;  // built on first use
  return table.find(tileName);
}

void HardProbeTileFacade::showTile(const ZelCString& tileName, bool show) {
  // Names the overlay does not render, the instructions tile's among them, never reach it: that tile follows
  // the "Palpera/Tile" items by itself.
  const ZelCString* controls = xamlControlsOf(tileName);
  if (!controls) return;
  IPtr<IZelUnknown> overlay;
  overlay.createInstance(registeredClass("HardProbeInfoGraphics").id);
  auto* graphics = queryPart<HardProbeInfoGraphics>(overlay.get());
  if (!graphics) return;
  HardProbeInfoGraphics::Iterator* iterator = graphics->iterator();
  if (!show) iterator->setImageSource(nullptr);
  // A source already in place stays, even one made for another tile.
  if (show && !iterator->imageSource())
    iterator->setImageSource(
        IPtr<HardProbeInfoGraphics::ImageSource>(new HardProbeInfoGraphicsImageSource(*controls)).get());
  if (IZelSeparatorNode* separator = graphics->separator()) separator->setVisible(show);
}

void HardProbeTileFacade::setInstructions(const char* item, IZelUserInstructions* instructions) {
  withNotifications([&](IDataStore& store) {
    if (const TileItem* found = findTileItem(kInstructionsItems, item))
      store.setObject(nullptr, found->key, instructions);
  });
}

void HardProbeTileFacade::setText(const char* item, const ZelString& text) {
  withNotifications([&](IDataStore& store) {
    if (const TileItem* found = findTileItem(kTextItems, item)) store.setString(nullptr, found->key, text);
  });
}

void HardProbeTileFacade::setVector(const char* item, const double v[3]) {
  withNotifications([&](IDataStore& store) {
    const TileVectorItem* found = findTileItem(kVectorItems, item);
    if (!found) return;
    for (int i = 0; i < 3; ++i) store.setDouble(nullptr, found->keys[i], v[i]);
  });
}

void HardProbeTileFacade::setValue(const char* item, double value) {
  withNotifications([&](IDataStore& store) {
    if (const TileItem* found = findTileItem(kValueItems, item)) store.setDouble(nullptr, found->key, value);
  });
}

void HardProbeTileFacade::setFlag(const char* item, int32_t value) {
  withNotifications([&](IDataStore& store) {
    if (const TileItem* found = findTileItem(kFlagItems, item)) store.setInt(nullptr, found->key, value);
  });
}

void HardProbeTileFacade::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelHardProbeTile>(this).end();
}

IPtr<IZelHardProbeTile> tileFacade() {
  IPtr<IZelHardProbeTile> tile;
  tile.createInstance(kHardProbeTileFacadeClassId);
  return tile;
}
