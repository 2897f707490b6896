#pragma once

// The base of the module's tiles: it has the host's window service make a window for the tile under the
// tile's name when made, and drops that window when it goes. Without a window service, or when the name has a
// window already, the tile has no window and its build does nothing. The build itself is the tile's own.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "framework/commands/zel_gui_receiver_base.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/gui_tile.h"

class TileBase : public IZelTile, public virtual ZelGuiReceiverBase, public virtual ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "TileBase";

  // name must outlive the tile (a literal).
  TileBase(const ZelString& title, const char* name, int32_t style);
  TileBase(const TileBase&) = delete;
  TileBase& operator=(const TileBase&) = delete;
  ~TileBase() override;

  const ZelString& title() override { return title_; }
  const ZelCString& name() override { return name_; }
  bool isDockable() override { return true; }
  void activate() override {}
  IGuiTileWindow* window() override { return window_.get(); }
  IGuiTileWindow* clientWindow() override { return window_.get(); }
  void close() override {}
  bool isModal() override { return false; }
  void refresh() override {}

  // The base's part of a derived tile's query chain: "TileBase", "IZelTile", then the GUI receiver's names.
  void queryTileChain(QueryChain& chain);

 protected:
  IPtr<IGuiTileWindow> window_;
  bool built_ = false;

 private:
  ZelString title_;
  ZelCString name_;
};
