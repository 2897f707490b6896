#pragma once

// The stand-in host's dialog: headless, a set of controls by id, each with a kind, a name, a value, a text,
// an enabled state (with the mode it was set with) and a flag. The module builds and changes it through
// IGuiDialog; the host side does what a user would (press a button, enter a value) and what the host would
// (send a host event), each raising the receiver's callback, and reads the controls back.
//
// Ids: reserveControlIds hands out disjoint blocks from kFirstReservedId up, so ids below it are free for a
// command's own controls. A call of the module naming an id no control has changes nothing and is counted
// (strayCalls), so a test can tell a control that was never added from one that was left alone; so is a
// builder call that cannot be followed (an id already taken, an end call that closes nothing of its kind).
//
// The builder's boxes and groups are controls of the kinds "box" and "group" (their title is their text);
// its buttons are of the kinds "imagebutton" and "button" (their caption is their text). Each builder control
// knows the box or group it was added in. The dialog is one command's: when the command ends the host clears
// it, and the next command builds on an empty dialog.
//
// Safe on any thread; the receiver (held without a reference) is called outside the dialog's lock, on the
// thread of the host-side call.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host/api/gui_dialog.h"

class HostGuiDialog : public IGuiDialog, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HostGuiDialog";
  static constexpr int32_t kFirstReservedId = 1000;

  struct Control {
    std::string kind;
    std::u16string name;
    double value = 0;
    std::u16string text;
    bool enabled = true;
    int32_t enableMode = 0;         // the mode of the last enableControl
    bool flag = false;              // for a builder control: whether it is shown
    std::optional<int32_t> parent;  // the box or group a builder control was added in
    IPtr<IZelImage> image;          // the image a button shows
  };

  HostGuiDialog();

  // A count below 1 reserves nothing and answers the next free id.
  int32_t reserveControlIds(int32_t count) override;
  // False when the id is taken.
  bool addControl(int32_t id, const char* kind, const ZelString& name) override;
  void enableControl(int32_t id, bool enabled, int32_t mode) override;
  void setControlFlag(int32_t id, bool flag) override;
  void setControlText(int32_t id, const ZelString& text) override;
  // Sets the value without telling the receiver: the module changed it, not the user.
  void setControlValue(int32_t id, double value) override;
  bool getControlValue(int32_t id, double* value) override;
  void registerPicture(int32_t number, const char* imageName) override;
  void setReceiver(IGuiReceiver* receiver) override;
  void setControlIcon(int32_t number, const char* iconName) override;
  void beginBox(const char* name, int32_t style, const ZelString& title, bool shown) override;
  void beginGroup(const char* name, int32_t style, const ZelString& title, bool shown) override;
  void endGroup() override;
  void beginPanel(const ZelString& title, bool shown) override;
  void endPanel() override;
  void beginLayout(bool stretch) override;
  void endLayout() override;
  void addImageButton(const char* name, int32_t number, const ZelString& caption, bool shown) override;
  void addButton(const char* name, const ZelString& caption, bool shown) override;
  void setControlImage(int32_t id, IZelImage* image) override;

  // Host side. A press raises onGuiEvent(id, 1); false for an unknown or disabled control.
  bool pressButton(int32_t id);
  // Stores the value the user entered, then raises onGuiValue(id, value) for a "number" control and
  // onGuiValueChanged(id, value rounded) for any other; false for an unknown or disabled control.
  bool enterValue(int32_t id, double value);
  // Raises onEvent with an IHostEvent of that id.
  void sendHostEvent(uint32_t eventId);

  std::optional<Control> control(int32_t id);
  // Every control, by id.
  std::map<int32_t, Control> controls();
  // The lowest id of a control of that name.
  std::optional<int32_t> idOf(const std::u16string& name);
  std::optional<std::string> picture(int32_t number);
  // The icon name shown at an icon number.
  std::optional<std::string> icon(int32_t number);
  // Whether a standard control of the host is shown.
  bool standardControlShown(int32_t id);
  // How many boxes, groups, panels and layouts are open: 0 once a dialog is fully built.
  size_t openLayouts();
  int32_t strayCalls();
  // Closes the dialog: forgets every control, picture, icon, reserved id and stray call of the command that
  // built it, and shows the standard controls again. The receiver stays.
  void clear();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Runs change on the control under the lock, or counts a stray call.
  template <class Change>
  void changeControl(int32_t id, Change change);
  // What a user's change of a control found: whether it was taken, the control's kind, whom to tell.
  struct UserChange {
    bool accepted = false;
    std::string kind;
    IGuiReceiver* receiver = nullptr;
  };
  // Takes a user's change of an existing, enabled control, storing the value when there is one.
  UserChange acceptUserChange(int32_t id, std::optional<double> value);

  // What the builder has open, innermost last.
  enum class Opened { kBoxOrGroup, kPanel, kLayout };
  struct OpenLayout {
    Opened kind;
    std::optional<int32_t> id;  // of a box or group that was added
  };
  // Adds a builder control in the innermost open box or group, under the id its name gives, else number,
  // else the lowest free id; nothing (a stray call) when that id is taken. Answers the id it was added under.
  std::optional<int32_t> addBuilt(std::optional<int32_t> number, const char* kind, const char* name,
                                  const ZelString& text, bool shown);
  int32_t lowestFreeIdLocked() const;
  void openBoxOrGroup(const char* kind, const char* name, const ZelString& title, bool shown);
  void open(Opened kind, std::optional<int32_t> id = std::nullopt);
  void close(Opened kind);

  std::mutex mutex_;
  std::map<int32_t, Control> controls_;        // guarded by mutex_
  std::map<int32_t, std::string> pictures_;    // guarded by mutex_
  std::map<int32_t, std::string> icons_;       // guarded by mutex_
  std::map<int32_t, bool> standardShown_;      // guarded by mutex_
  std::vector<OpenLayout> opened_;             // guarded by mutex_
  int32_t nextReservedId_ = kFirstReservedId;  // guarded by mutex_
  int32_t strayCalls_ = 0;                     // guarded by mutex_
  IGuiReceiver* receiver_ = nullptr;           // guarded by mutex_
};
