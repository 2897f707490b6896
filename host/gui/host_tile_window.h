#pragma once

// The stand-in host's tile window: the controls a tile built, by id, which tests and scripts read. A
// control's flag says whether it is shown and its value is its picture mode (kOwnImage while it shows its own
// image). Changes naming an id no control has change nothing and are counted, as in the dialog.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "host/core/host_unknown.h"
#include "host/gui/dialog_controls.h"
#include "host_api/gui_tile.h"

class HostTileWindow : public IGuiTileWindow, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostTileWindow";
  static constexpr int32_t kOwnImage = 0;

  struct Font {
    std::u16string family;
    int32_t size = 0;
  };

  bool addControl(int32_t id, const char* kind, const ZelString& name) override;
  void showControl(int32_t id, bool shown) override { controls_.setFlag(id, shown); }
  void setControlText(int32_t id, const ZelString& text) override { controls_.setText(id, text.c_str()); }
  void setControlFont(int32_t id, const ZelString& family, int32_t size) override;
  void registerPictureMode(int32_t mode, const char* iconName) override;
  void setPictureMode(int32_t id, int32_t mode) override;
  void setPicture(int32_t id, IZelImage* image) override;
  void layout() override;
  void setReceiver(IGuiReceiver* receiver) override;

  // Host side.
  DialogControls& controls() { return controls_; }
  Font font(int32_t id);
  int32_t layouts();
  IGuiReceiver* receiver();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  DialogControls controls_;
  std::mutex mutex_;
  std::map<int32_t, Font> fonts_;     // guarded by mutex_
  int32_t layouts_ = 0;               // guarded by mutex_
  IGuiReceiver* receiver_ = nullptr;  // guarded by mutex_
};
