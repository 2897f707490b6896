#pragma once

// The control model of the stand-in host's dialog: controls by id, each with a kind, a name, a value, a
// text, an enabled state (with the mode it was set with), a flag, the box or group it was built in and the
// image it shows; the pictures registered by number; whether the host's standard controls are shown.
//
// Ids: reserveIds hands out disjoint blocks from kFirstReservedId up, so ids below it are free for a
// command's own controls. A change naming an id no control has changes nothing and is counted (strayCalls),
// so a test can tell a control that was never added from one that was left alone; the builder counts its own
// calls that cannot be followed here too.
//
// Safe on any thread: one lock guards everything here, and nothing is called out while it is held.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "framework/object/iptr.h"
#include "host/api/zel_image.h"

struct DialogControl {
  std::string kind;
  std::u16string name;
  double value = 0;
  std::u16string text;
  bool enabled = true;
  int32_t enableMode = 0;         // the mode of the last enable
  bool flag = false;              // for a builder control: whether it is shown
  std::optional<int32_t> parent;  // the box or group a builder control was added in
  IPtr<IZelImage> image;          // the image a button shows
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
  // Takes a user's change of an existing, enabled control, storing the value when there is one: the
  // control's kind, or nothing when the change is refused.
  std::optional<std::string> acceptUserChange(int32_t id, std::optional<double> value);

  std::optional<DialogControl> control(int32_t id);
  std::map<int32_t, DialogControl> all();
  // The lowest id of a control of that name.
  std::optional<int32_t> idOf(const std::u16string& name);
  std::optional<std::string> picture(int32_t number);
  bool standardControlShown(int32_t id);
  int32_t strayCalls();
  // Forgets every control, picture, reserved id and stray call, and shows the standard controls again.
  void clear();

 private:
  // Runs change on the control under the lock, or counts a stray call.
  template <class Change>
  void change(int32_t id, Change change);
  int32_t lowestFreeIdLocked() const;

  std::mutex mutex_;
  std::map<int32_t, DialogControl> controls_;  // guarded by mutex_
  std::map<int32_t, std::string> pictures_;    // guarded by mutex_
  std::map<int32_t, bool> standardShown_;      // guarded by mutex_
  int32_t nextReservedId_ = kFirstReservedId;  // guarded by mutex_
  int32_t strayCalls_ = 0;                     // guarded by mutex_
};
