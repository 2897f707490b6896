#pragma once

// The stand-in host's data-bound widgets: a toggle bound to an integer key and a number field bound to a
// double key. Built into a page, a widget joins it under its label; once active it shows the stored value,
// and a user's change writes the key (naming no writer, as the host's own widgets do). A change before the
// widget is active or without a key changes nothing.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "framework/commands/zel_gui_receiver_base.h"
#include "host/core/host_unknown.h"
#include "host_api/data_store.h"
#include "host_api/gui_page.h"

class HostWidget : public virtual IZelBoundWidget, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostWidget";

  void activate() override;
  void dependsOn(const char* key) override;

  // Host side.
  std::string key();
  std::string dependency();
  bool active();
  bool length();
  // The stored value shown; none before activation.
  std::optional<double> shown();
  // The user's change: false when it was not taken.
  bool change(double value);

 protected:
  HostWidget(IDataStore& store, const char* kind);
  void bindKey(const char* key);
  void buildInto(IGuiTileWindow* window, const ZelString& label);
  void markLength(int32_t length);

 private:
  double stored();

  IDataStore& store_;
  const char* kind_;
  std::mutex mutex_;
  std::string key_;         // guarded by mutex_
  std::string dependency_;  // guarded by mutex_
  bool active_ = false;     // guarded by mutex_
  bool length_ = false;     // guarded by mutex_
};

// Built into a command's dialog it is the receiver of its own control there: a value entered (or a press,
// which flips it) writes the key, and the control then shows the stored value.
class HostToggleWidget : public IZelToggleWidget, public ZelGuiReceiverBase, public HostWidget {
 public:
  static constexpr const char* interfaceName = "HostToggleWidget";
  static constexpr const char* kKind = "toggle";

  explicit HostToggleWidget(IDataStore& store) : HostWidget(store, kKind) {}
  void setKey(const char* key) override { bindKey(key); }
  void build(IGuiTileWindow* window, const ZelString& label) override { buildInto(window, label); }
  bool buildInDialog(IGuiDialog* dialog, const ZelString& label) override;
  bool state() override { return shown().value_or(0) != 0; }

  void onGuiEvent(int32_t id, int32_t value) override;
  void onGuiValueChanged(int32_t id, int32_t value) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Shows the stored value in the dialog's control.
  void showInDialog();

  std::atomic<IGuiDialog*> dialog_ = nullptr;
  std::atomic<int32_t> controlId_ = 0;
};

class HostFloatWidget : public IZelFloatWidget, public HostWidget {
 public:
  static constexpr const char* interfaceName = "HostFloatWidget";
  static constexpr const char* kKind = "float";

  explicit HostFloatWidget(IDataStore& store) : HostWidget(store, kKind) {}
  void setKey(const char* key) override { bindKey(key); }
  void build(IGuiTileWindow* window, const ZelString& label) override { buildInto(window, label); }
  void setLength(int32_t length) override { markLength(length); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
