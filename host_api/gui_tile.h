#pragma once

// Tiles: panes the host shows beside its view, each one a module object (IZelTile) with a window the host's
// window service (IGuiWin) makes for it under the tile's name. The host asks the tile to build the window's
// controls when it first shows it; controls are addressed by id, as in a dialog. Main thread only.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host_api/gui_receiver.h"
#include "host_api/zel_image.h"
#include "host_api/zel_unknown.h"

class IGuiTileWindow : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiTileWindow";

  // Adds a control of a kind ("box", "text", "label", "picture", ...); false when the id is taken. A new
  // control is hidden.
  virtual bool addControl(int32_t id, const char* kind, const ZelString& name) = 0;
  virtual void showControl(int32_t id, bool shown) = 0;
  virtual void setControlText(int32_t id, const ZelString& text) = 0;
  virtual void setControlFont(int32_t id, const ZelString& family, int32_t size) = 0;
  // A picture control shows its own image (setPicture) or the icon of the host's image store registered for
  // a picture mode (setPictureMode, which lets go of the image).
  virtual void registerPictureMode(int32_t mode, const char* iconName) = 0;
  virtual void setPictureMode(int32_t id, int32_t mode) = 0;
  // The window keeps a reference on the image.
  virtual void setPicture(int32_t id, IZelImage* image) = 0;
  // Arranges the controls added so far.
  virtual void layout() = 0;
  // The receiver of the window's events (held without a reference).
  virtual void setReceiver(IGuiReceiver* receiver) = 0;
};

class IZelTile : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelTile";

  virtual const ZelString& title() = 0;
  virtual const ZelCString& name() = 0;
  virtual bool isDockable() = 0;
  virtual void activate() = 0;
  virtual IGuiTileWindow* window() = 0;
  virtual IGuiTileWindow* clientWindow() = 0;
  virtual void close() = 0;
  // Builds the window's controls; false when the tile has no window.
  virtual bool build() = 0;
  virtual bool isModal() = 0;
  virtual void refresh() = 0;
};

class IGuiWin : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiWin";

  // A new window for the tile under name, without a reference for the caller; null when the name has one
  // already. The tile is held without a reference: it drops its window before it goes. Style is the host's;
  // modules pass 0.
  virtual IGuiTileWindow* createWindow(IZelTile* tile, const char* name, int32_t style) = 0;
  // Forgets the window of that name and its tile; false when there is none.
  virtual bool dropWindow(const char* name) = 0;
  // The same for a page of the options dialog (see gui_page.h): the window answers "IGuiPageWindow".
  virtual IGuiTileWindow* createPage(IZelTile* page, const char* pageName) = 0;
  virtual bool destroyPage(const char* pageName) = 0;
};
