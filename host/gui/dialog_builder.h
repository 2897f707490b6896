#pragma once

// The builder of the stand-in host's dialog: the boxes, groups, panels, layouts, receiver and font brackets
// a command opens and closes, the buttons it adds in them and the icons it shows. Every control added while
// a receiver or font bracket is open carries the innermost one's receiver or font size. Boxes and groups are
// controls of the kinds "box" and "group" (their title is their text); buttons are of the kinds "imagebutton"
// "imagetoggle" and "button" (their caption is their text). Each builder control knows the box or group it
// was added in. A call that cannot be followed (an id already taken, an end call that closes nothing of its
// kind) is a stray call of the model.
//
// Safe on any thread; its own lock guards what is open and the icons, and is never held while the control
// model's is taken.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "basic_types/zel_string.h"
#include "host/gui/dialog_controls.h"

class DialogBuilder {
 public:
  explicit DialogBuilder(DialogControls& controls) : controls_(controls) {}
  DialogBuilder(const DialogBuilder&) = delete;
  DialogBuilder& operator=(const DialogBuilder&) = delete;

  void setIcon(int32_t number, const char* iconName);
  // Opens a box or group of that kind, added as a control under id, or as add() chooses without one.
  void beginBoxOrGroup(const char* kind, const char* name, const ZelString& title, bool shown,
                       std::optional<int32_t> id = std::nullopt);
  void endGroup();
  void beginPanel();
  void endPanel();
  void beginLayout();
  void endLayout();
  void addImageButton(const char* name, int32_t number, const ZelString& caption, bool shown);
  // An image button of the kind "imagetoggle" showing the picture registered under picture.
  void addImageToggleButton(const char* name, int32_t number, int32_t picture, const ZelString& caption,
                            bool shown);
  void addButton(const char* name, const ZelString& caption, bool shown,
                 std::optional<int32_t> id = std::nullopt);
  void beginReceiver(IGuiReceiver* receiver);
  void endReceiver();
  // An empty or null family is the dialog's.
  void beginFont(int32_t size, const char* family = nullptr);
  void endFont();
  // Gives a control the receiver, font size and font family of the brackets open.
  void stamp(DialogControl& control);

  // The icon name shown at an icon number.
  std::optional<std::string> icon(int32_t number);
  // How many boxes, groups, panels, layouts and brackets are open: 0 once a dialog is fully built.
  size_t openLayouts();
  // Forgets what is open and every icon.
  void clear();

 private:
  // What the builder has open, innermost last.
  enum class Opened { kBoxOrGroup, kPanel, kLayout, kReceiver, kFont };
  struct OpenLayout {
    Opened kind;
    std::optional<int32_t> id = std::nullopt;  // of a box or group that was added
    IGuiReceiver* receiver = nullptr;          // of a receiver bracket
    int32_t fontSize = 0;                      // of a font bracket
    std::string fontFamily = std::string();    // of a font bracket
  };

  // Adds a builder control in the innermost open box or group, under the id its name gives, else number,
  // else the lowest free id. Answers the id it was added under, if it was.
  std::optional<int32_t> add(std::optional<int32_t> number, const char* kind, const char* name,
                             const ZelString& text, bool shown, int32_t picture = 0);
  std::optional<int32_t> innermostBoxOrGroup();
  void open(OpenLayout layout);
  void close(Opened kind);

  DialogControls& controls_;
  std::mutex mutex_;
  std::vector<OpenLayout> opened_;        // guarded by mutex_
  std::map<int32_t, std::string> icons_;  // guarded by mutex_
};
