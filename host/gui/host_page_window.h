#pragma once

// The stand-in host's options page: what its owner built, in order, as lines a script can print (groups,
// rows, lists, sliders, widgets, each at its depth), the lists with their items and selection, the sliders
// with their range and position, and the widgets bound to their keys. The user's acts (pick, slide, hold)
// reach the page's receiver outside the lock; a widget's change writes its key itself.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/gui/host_tile_window.h"
#include "host/gui/host_widget.h"
#include "host_api/gui_page.h"

class HostPageWindow : public HostTileWindow, public IGuiPageWindow, public IGuiBaseV3 {
 public:
  static constexpr const char* interfaceName = "HostPageWindow";
  // What the host reports while the user holds a tracking slider, and when the user lets go.
  static constexpr int32_t kHolding = -1;
  static constexpr int32_t kLetGo = 0;

  struct Line {
    int32_t depth = 0;
    std::string kind;  // "group", "row", "list", "slider", "toggle", "float"
    std::string name;
    std::u16string label;
    IPtr<HostWidget> widget;  // the widget line's widget
  };
  struct List {
    std::vector<std::u16string> items;
    std::optional<int32_t> selected;
  };
  struct Slider {
    bool tracking = false;
    int32_t minimum = 0, maximum = 0, step = 0;
    std::optional<int32_t> position;
  };

  void beginGroup(int32_t level, const ZelString& label, int32_t flag) override;
  void beginNamedGroup(int32_t id, const char* name, int32_t level, const ZelString& label,
                       int32_t flag) override;
  void beginRow(int32_t level, const ZelString& label, int32_t flag) override;
  void endGroup() override;
  void addList(int32_t id, const char* name, const ZelString& label, const ZelCountedArray<ZelString>& items,
               const ListStyle& style) override;
  void setTracking(int32_t id, bool tracking) override;
  void setRange(int32_t id, int32_t minimum, int32_t maximum, int32_t step) override;
  void selectItem(int32_t id, int32_t index, int32_t flag) override;
  void setSliderPosition(int32_t id, int32_t position) override;
  void finish(IGuiReceiver* receiver) override;
  void addSlider(int32_t id, const char* name, const ZelString& leftLabel, const ZelString& rightLabel,
                 int32_t flag, int32_t style) override;
  // A page holds only what its building part adds: no control is registered by kind.
  bool registerControl(int32_t, const char*, int32_t, int32_t) override { return false; }
  // A page is laid out as it is built.
  void beginBatch() override {}
  void endBatch() override {}

  // Host side. A widget joins the page it is built into.
  void addWidget(HostWidget* widget, const std::string& kind, const ZelString& label);
  std::vector<Line> lines();
  bool finished();
  // Null, or empty, for an id no list or slider has.
  std::optional<List> list(int32_t id);
  std::optional<Slider> slider(int32_t id);
  // The widget built with that label (the first of them), or null.
  IPtr<HostWidget> widget(const std::u16string& label);
  // The user's acts; false for an id of no such control, or an index or position out of its range.
  bool pick(int32_t id, int32_t index);
  bool slide(int32_t id, int32_t position);
  bool hold(int32_t id, bool holding);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void addLine(const std::string& kind, const std::string& name, const ZelString& label,
               IPtr<HostWidget> widget = IPtr<HostWidget>());
  // Runs take on the built page under the lock; when it accepts the act, tells the receiver, outside the
  // lock, that control id now holds value.
  template <class Take>
  bool actAndTell(int32_t id, int32_t value, Take take);

  // What one build made; a build after a finished one starts afresh, as the page shown again.
  struct Built {
    int32_t depth = 0;
    bool finished = false;
    std::vector<Line> lines;
    std::map<int32_t, List> lists;
    std::map<int32_t, Slider> sliders;
  };

  std::mutex mutex_;
  Built built_;  // guarded by mutex_
};
