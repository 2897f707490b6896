#pragma once

// The control model of the stand-in host's dialog: controls by id, each with a kind, a name, a value, a
// text, an enabled state (with the mode it was set with), a flag, the box or group it was built in, the
// image it shows, the receiver and font it was built with, and what its kind adds (a list's entries, a
// number field's format and range, a radio button's group); the pictures registered by number; whether the
// host's standard controls are shown and enabled; the current control and how often the layout was refreshed.
//
// Ids: reserveIds hands out disjoint blocks from kFirstReservedId up, so ids below it are free for a
// command's own controls. A change naming an id no control has changes nothing and is counted (strayCalls),
// so a test can tell a control that was never added from one that was left alone; the builder counts its own
// calls that cannot be followed here too.
//
// Safe on any thread: one lock guards everything here, and nothing is called out while it is held.

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host_api/gui_receiver.h"
#include "host_api/zel_image.h"
#include "host_api/zel_table.h"

struct DialogListEntry {
  std::u16string text;
  bool enabled = true;
  bool operator==(const DialogListEntry&) const = default;
};

struct DialogControl {
  std::string kind;
  std::u16string name;
  double value = 0;
  std::u16string text;
  bool enabled = true;
  int32_t enableMode = 0;                // the mode of the last enable
  bool flag = false;                     // for a builder control: whether it is shown
  std::optional<int32_t> parent;         // the box or group a builder control was added in
  IPtr<IZelImage> image;                 // the image a button shows
  IGuiReceiver* receiver = nullptr;      // who hears its events; null: the dialog's receiver
  int32_t fontSize = 0;                  // 0: the dialog's
  std::string fontFamily;                // empty: the dialog's
  std::vector<DialogListEntry> entries;  // a list's, from 0
  int32_t selection = -1;                // a list's chosen entry
  std::string format;                    // a number field's display format; empty: the host's
  double minimum = -std::numeric_limits<double>::infinity();
  double maximum = std::numeric_limits<double>::infinity();
  std::optional<int32_t> group;  // a radio button's group
  int32_t picture = 0;           // a radio or toggle button's registered picture
  IPtr<IZelTable> table;         // a table control's
  IPtr<IZelTableModifier> tableModifier;
  int32_t tableShown = 0;  // how often the table was placed
};

class DialogControls {
 public:
  static constexpr int32_t kFirstReservedId = 1000;

  DialogControls();
  DialogControls(const DialogControls&) = delete;
  DialogControls& operator=(const DialogControls&) = delete;

  // A count below 1 reserves nothing and answers the next free id.
  int32_t reserveIds(int32_t count);
  // False when the id is taken.
  bool add(int32_t id, DialogControl control);
  // Adds under id, or under the lowest free id from 1 when there is none; a taken id is a stray call. The id
  // the control was added under.
  std::optional<int32_t> addAt(std::optional<int32_t> id, DialogControl control);
  // Also enables or disables a standard control.
  void enable(int32_t id, bool enabled, int32_t mode);
  // Shows or hides a standard control, or sets a control's flag.
  void setFlag(int32_t id, bool flag);
  void setText(int32_t id, std::u16string text);
  void setValue(int32_t id, double value);
  // The image a control shows, held with a reference; the one it replaces is let go of outside the lock.
  void setImage(int32_t id, IZelImage* image);
  std::optional<double> value(int32_t id);
  void registerPicture(int32_t number, std::string imageName);
  void countStrayCall();
  // Changes the control under the lock; false, as a stray call, for an unknown control, and false when the
  // change answers false (it then must have changed nothing).
  bool edit(int32_t id, const std::function<bool(DialogControl&)>& change);
  // Chooses a radio button of a group: the group's value becomes its id, its value 1 and its siblings' 0.
  bool chooseRadio(int32_t id);
  // Takes a user's change of an existing control that is enabled inside enabled boxes and groups (change
  // answers false to refuse it, changing nothing): the control as changed, or nothing when refused.
  std::optional<DialogControl> takeUserChange(int32_t id, const std::function<bool(DialogControl&)>& change);
  // A user's choice of a radio button, as chooseRadio; nothing when it is unknown, disabled or no radio.
  std::optional<DialogControl> takeRadioChoice(int32_t id);
  void setCurrent(int32_t id);
  std::optional<int32_t> current();
  void countLayoutRefresh();
  int32_t layoutRefreshes();

  std::optional<DialogControl> control(int32_t id);
  std::map<int32_t, DialogControl> all();
  // The lowest id of a control of that name.
  std::optional<int32_t> idOf(const std::u16string& name);
  std::optional<std::string> picture(int32_t number);
  bool standardControlShown(int32_t id);
  bool standardControlEnabled(int32_t id);
  int32_t strayCalls();
  // Forgets every control, picture, reserved id and stray call, and shows and enables the standard controls
  // again.
  void clear();

 private:
  // Runs change on the control under the lock, or counts a stray call.
  template <class Change>
  void change(int32_t id, Change change);
  int32_t lowestFreeIdLocked() const;
  bool chooseRadioLocked(int32_t id);
  // Whether the control and every box or group it was built in are enabled.
  bool usableLocked(int32_t id) const;

  std::mutex mutex_;
  std::map<int32_t, DialogControl> controls_;  // guarded by mutex_
  std::map<int32_t, std::string> pictures_;    // guarded by mutex_
  std::map<int32_t, bool> standardShown_;      // guarded by mutex_
  std::map<int32_t, bool> standardEnabled_;    // guarded by mutex_
  int32_t nextReservedId_ = kFirstReservedId;  // guarded by mutex_
  int32_t strayCalls_ = 0;                     // guarded by mutex_
  std::optional<int32_t> current_;             // guarded by mutex_
  int32_t layoutRefreshes_ = 0;                // guarded by mutex_
};
