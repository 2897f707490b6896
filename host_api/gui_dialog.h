#pragma once

// A command's dialog, as the host builds it. Controls are addressed by id; several widgets share one dialog
// by reserving disjoint blocks of ids. Pressing a button or changing a control calls the dialog's receiver.
//
// A command may also lay its dialog out with the builder: boxes, groups, panels and layouts nest, each closed
// by its own end call, and buttons go into the innermost one open. The builder gives its controls ids:
// a control named "ControlBaseID+N" gets the id N; an image button of any other name the number it is given;
// any other box, group or button the lowest id from 1 that is free. Panels and layouts only arrange and have
// no id. The trailing flag of each builder call says whether the control is shown (setControlFlag changes
// it). The host's standard controls kStandardControl1 and kStandardControl2 (the panel's own buttons) are in
// every dialog; a command may switch them off.
//
// Control kinds a command adds with addControl: "button", "check", "number" and "length" (fields of a double,
// with a display format and a range), "text" (a field of text), "list" and "dropdown" (entries of text),
// "radiogroup" and "radio" (added with addRadio), "table" (filled through an IZelTable), "label", "box",
// "group". setControlFlag shows (true) or hides (false) a control, or switches a group of controls as a
// whole.
//
// Lists and drop-down lists number their entries from 0 in the order shown; -1 is "no entry". When the user
// chooses another entry the receiver hears onGuiValueChanged(id, index), once per change: choosing the entry
// already chosen, or the module's own selectListEntry, tells it nothing. A disabled entry cannot be chosen.
// A radio group's value is the id of its chosen radio button (0 before one is chosen); setControlValue(radio,
// 1) chooses a radio, and the user's choice raises onGuiEvent(radio, 1). Typing into a "text" field raises
// onGuiValueByReference(id, the ZelString typed). A number entered outside a field's range is refused.
//
// Controls added between beginReceiver and endReceiver (a widget building itself into a command's dialog)
// send their events to that receiver rather than to the dialog's; those added between beginFont and endFont
// are drawn in that font size (0: the dialog's).
#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/gui_receiver.h"
#include "host_api/zel_image.h"
#include "host_api/zel_table.h"
#include "host_api/zel_unknown.h"

class IGuiDialog : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiDialog";
  // The constant commands pass as the third argument of enableControl.
  static constexpr int32_t kEnableDefault = -30000;
  static constexpr int32_t kStandardControl1 = -19999;
  static constexpr int32_t kStandardControl2 = -19998;
  // The icon number of the dialog's own icon.
  static constexpr int32_t kDialogIcon = 0;

  // The first id of a block of count fresh control ids.
  virtual int32_t reserveControlIds(int32_t count) = 0;
  // Adds a control of a kind ("button", "check", "number", "text", "picture", ...) under an id and a name.
  virtual bool addControl(int32_t id, const char* kind, const ZelString& name) = 0;
  virtual void enableControl(int32_t id, bool enabled, int32_t mode) = 0;
  virtual void setControlFlag(int32_t id, bool flag) = 0;
  virtual void setControlText(int32_t id, const ZelString& text) = 0;
  virtual void setControlValue(int32_t id, double value) = 0;
  // False when there is no such control.
  virtual bool getControlValue(int32_t id, double* value) = 0;
  virtual void registerPicture(int32_t number, const char* imageName) = 0;
  // The receiver of the dialog's events (held without a reference).
  virtual void setReceiver(IGuiReceiver* receiver) = 0;

  // The builder. Shows the icon the host's image store keeps under iconName at an icon number (kDialogIcon
  // for the dialog's own).
  virtual void setControlIcon(int32_t number, const char* iconName) = 0;
  // Opens a box or a titled group; style is the host's (modules pass 0 for a box, 1 for a group).
  virtual void beginBox(const char* name, int32_t style, const ZelString& title, bool shown) = 0;
  virtual void beginGroup(const char* name, int32_t style, const ZelString& title, bool shown) = 0;
  // Closes the innermost box or group.
  virtual void endGroup() = 0;
  // An unnamed, titled panel.
  virtual void beginPanel(const ZelString& title, bool shown) = 0;
  virtual void endPanel() = 0;
  // Arranges what follows side by side, stretched to the width when stretch is set.
  virtual void beginLayout(bool stretch) = 0;
  virtual void endLayout() = 0;
  // A button that will show an image (setControlImage); a plain button.
  virtual void addImageButton(const char* name, int32_t number, const ZelString& caption, bool shown) = 0;
  virtual void addButton(const char* name, const ZelString& caption, bool shown) = 0;
  // A button that stays pressed or released in turn, showing the image registered under picture number
  // (registerPicture) and reporting onGuiEvent(number, 1 when pressed, 0 when released).
  virtual void addImageToggleButton(const char* name, int32_t number, int32_t picture,
                                    const ZelString& caption, bool shown) = 0;
  // The image a button shows; the dialog keeps a reference on it.
  virtual void setControlImage(int32_t id, IZelImage* image) = 0;

  // Lists and drop-down lists. The index of the new last entry, or -1 when id is no list.
  virtual int32_t addListEntry(int32_t id, const ZelString& text) = 0;
  // False, changing nothing, for an index outside the list; a removed chosen entry leaves none chosen.
  virtual bool removeListEntry(int32_t id, int32_t index) = 0;
  // The chosen entry moves with its text.
  virtual bool swapListEntries(int32_t id, int32_t first, int32_t second) = 0;
  virtual void clearList(int32_t id) = 0;
  // 0 for a control that is no list.
  virtual int32_t listEntryCount(int32_t id) = 0;
  // -1 chooses none.
  virtual bool selectListEntry(int32_t id, int32_t index) = 0;
  virtual int32_t listSelection(int32_t id) = 0;
  virtual bool enableListEntry(int32_t id, int32_t index, bool enabled) = 0;
  // A number or length field: the printf conversion of one double it is shown with ("%.3f") and the range
  // the user may enter. False, changing nothing, for another kind, a format that is not one conversion of a
  // double, or a range whose minimum exceeds its maximum.
  virtual bool setNumberFormat(int32_t id, const char* format, double minimum, double maximum) = 0;
  // A radio button of a radio group (added before it), with a caption and the number of a registered
  // picture (0: none). While its group is disabled, the user cannot choose it.
  virtual bool addRadio(int32_t groupId, int32_t id, const ZelString& caption, int32_t picture) = 0;
  // False for an unknown control.
  virtual bool isControlEnabled(int32_t id) = 0;
  // Gives the control the keyboard focus.
  virtual void setCurrentControl(int32_t id) = 0;
  // Lays the dialog out again after controls were shown, hidden or changed in size.
  virtual void refreshLayout() = 0;
  virtual void beginFont(int32_t size) = 0;
  virtual void endFont() = 0;
  // The receiver is held without a reference, as the dialog's own is.
  virtual void beginReceiver(IGuiReceiver* receiver) = 0;
  virtual void endReceiver() = 0;
  // Shows table in the "table" control id, again after each change the command made to it (the dialog holds
  // a reference on the table and on the modifier that answers for its cells, zel_table.h; without a modifier
  // no cell can be edited; null for both takes it away). False for a control that is no table.
  virtual bool setControlTable(int32_t id, IZelTable* table, IZelTableModifier* modifier) = 0;

  // The builder calls of a widget, whose controls take ids from the block it reserved. A titled group box
  // under a given id, closed by endGroup; the second form also says whether it is framed and shown.
  virtual void beginGroupBox(const char* name, int32_t id, const ZelString& title) = 0;
  virtual void beginFramedGroupBox(const char* name, int32_t id, bool framed, const ZelString& title,
                                   bool shown) = 0;
  // Stacks what follows top to bottom; closed by endLayout.
  virtual void beginVerticalLayout() = 0;
  // A font bracket of a family (empty: the dialog's) at a size, with a weight (0: normal) and italics;
  // closed by endFont.
  virtual void beginFontFace(const char* family, int32_t size, int32_t weight, bool italic) = 0;
  // A plain button under a given id.
  virtual void addButtonAt(const char* name, int32_t id, const ZelString& caption, bool shown) = 0;
  // Enables or disables a control of a widget, which names itself.
  virtual void enableWidgetControl(int32_t id, bool enabled, IGuiReceiver* widget) = 0;
  // The text a control shows (a text field's, as typed or set). False, with text untouched, when there is no
  // such control.
  virtual bool getControlText(int32_t id, ZelString& text) = 0;
};

// A command answering this lets the host take its dialog away when the host asks.
class IDialogRemover : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IDialogRemover";

  virtual bool canRemoveDialog() = 0;
};
