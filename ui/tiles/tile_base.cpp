#include "ui/tiles/tile_base.h"

namespace {

// The GUI receiver base answers by name too, as a class of its own.
constexpr const char* kGuiReceiverBaseName = "ZelGuiReceiverBase";

}  // namespace

TileBase::TileBase(const ZelString& title, const char* name, int32_t style) : title_(title), name_(name) {
  SPtr<IGuiWin> windows;
  if (windows) window_ = windows->createWindow(this, name, style);
}

TileBase::~TileBase() {
  // Without a window of its own, the name's window (if any) is another tile's.
  if (!window_) return;
  window_.release();
  SPtr<IGuiWin> windows;
  if (windows) windows->dropWindow(name_.data());
}

void TileBase::queryTileChain(QueryChain& chain) {
  chain.offer<TileBase>(this).offer<IZelTile>(this);
  chain.classLeaf(kGuiReceiverBaseName, static_cast<ZelGuiReceiverBase*>(this), static_cast<IZelTile*>(this))
      .offer<IGuiReceiver>(this);
}
