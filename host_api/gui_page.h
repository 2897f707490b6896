#pragma once

// Pages of the host's options dialog. A page is a window the window service (IGuiWin::createPage) makes by
// page name; the page's owner builds it top down: groups and rows nest, lists, sliders and data-bound widgets
// are added in the open group, and finish ends the building. Controls that report events carry the id the
// builder gives them. A widget bound to a data-store key shows the stored value and writes the key itself
// when the user changes it. Main thread only.

#include <array>
#include <cstdint>

#include "basic_types/zel_array.h"
#include "basic_types/zel_string.h"
#include "host_api/gui_dialog.h"
#include "host_api/gui_receiver.h"
#include "host_api/gui_tile.h"
#include "host_api/zel_unknown.h"

// The building part of a page window (the window made by IGuiWin::createPage answers it; its receiver is set
// as a tile window's).
class IGuiPageWindow : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiPageWindow";
  // The list's style numbers are the host's.
  using ListStyle = std::array<int32_t, 8>;

  virtual void beginGroup(int32_t level, const ZelString& label, int32_t flag) = 0;
  virtual void beginNamedGroup(int32_t id, const char* name, int32_t level, const ZelString& label,
                               int32_t flag) = 0;
  virtual void beginRow(int32_t level, const ZelString& label, int32_t flag) = 0;
  virtual void endGroup() = 0;
  // A list of the texts at positions 1 to count of items.
  virtual void addList(int32_t id, const char* name, const ZelString& label,
                       const ZelCountedArray<ZelString>& items, const ListStyle& style) = 0;
  // Whether a slider reports its moves while the user holds it.
  virtual void setTracking(int32_t id, bool tracking) = 0;
  virtual void setRange(int32_t id, int32_t minimum, int32_t maximum, int32_t step) = 0;
  // Selects the item at index (from 0) of a list.
  virtual void selectItem(int32_t id, int32_t index, int32_t flag) = 0;
  virtual void setSliderPosition(int32_t id, int32_t position) = 0;
  virtual void finish(IGuiReceiver* receiver) = 0;
};

// The newer building part of pages and dialogs: sliders, controls registered by kind, and a bracket around a
// batch of building that the host lays out once, when the outermost bracket closes (brackets nest). A host
// without it has no sliders and lays out as it goes. Command dialogs answer it too.
class IGuiBaseV3 : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiBaseV3";
  // The kind of a table control (gui_dialog.h's "table").
  static constexpr int32_t kTableControl = 175;
  // The host's own size for a control.
  static constexpr int32_t kDefaultSize = -1;

  virtual void addSlider(int32_t id, const char* name, const ZelString& leftLabel,
                         const ZelString& rightLabel, int32_t flag, int32_t style) = 0;
  // Adds a control of a kind under an id and a name, sized by the host when size is kDefaultSize. False for
  // a kind the window has no control of, or a taken id.
  virtual bool registerControl(int32_t id, const char* name, int32_t kind, int32_t size) = 0;
  virtual void beginBatch() = 0;
  virtual void endBatch() = 0;
};

// The part every data-bound widget shares.
class IZelBoundWidget : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelBoundWidget";

  // Shows the stored value and lets the user change it.
  virtual void activate() = 0;
  // Ties the widget to a toggle setting: it is usable only while that setting is on.
  virtual void dependsOn(const char* key) = 0;
};

// A switch bound to an integer key (0 or 1).
class IZelToggleWidget : public virtual IZelBoundWidget {
 public:
  static constexpr const char* interfaceName = "IZelToggleWidget";

  virtual void setKey(const char* key) = 0;
  virtual void build(IGuiTileWindow* window, const ZelString& label) = 0;
  // Builds the switch as a "check" control of a command's dialog (gui_dialog.h), under a fresh id, showing
  // the stored value at once: the user's changes reach the widget, which writes its key, not the command.
  // The dialog must outlive the widget's use of it. False without a dialog.
  virtual bool buildInDialog(IGuiDialog* dialog, const ZelString& label) = 0;
  // Whether the bound setting is on now.
  virtual bool state() = 0;
};

// A number field bound to a double key.
class IZelFloatWidget : public virtual IZelBoundWidget {
 public:
  static constexpr const char* interfaceName = "IZelFloatWidget";

  virtual void setKey(const char* key) = 0;
  virtual void build(IGuiTileWindow* window, const ZelString& label) = 0;
  // 1: the value is a length in metres, shown in the user's length unit.
  virtual void setLength(int32_t length) = 0;
};
