#include "host/gui/host_page_window.h"

#include "framework/object/query_chain.h"

void HostPageWindow::addLine(const std::string& kind, const std::string& name, const ZelString& label,
                             IPtr<HostWidget> widget) {
  built_.lines.push_back({built_.depth, kind, name, label.c_str() ? label.c_str() : u"", std::move(widget)});
}

void HostPageWindow::beginGroup(int32_t, const ZelString& label, int32_t) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (built_.finished) built_ = Built();
  addLine("group", "", label);
  ++built_.depth;
}

void HostPageWindow::beginNamedGroup(int32_t, const char* name, int32_t, const ZelString& label, int32_t) {
  std::lock_guard<std::mutex> guard(mutex_);
  addLine("group", name ? name : "", label);
  ++built_.depth;
}

void HostPageWindow::beginRow(int32_t, const ZelString& label, int32_t) {
  std::lock_guard<std::mutex> guard(mutex_);
  addLine("row", "", label);
  ++built_.depth;
}

void HostPageWindow::endGroup() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (built_.depth > 0) --built_.depth;
}

void HostPageWindow::addList(int32_t id, const char* name, const ZelString& label,
                             const ZelCountedArray<ZelString>& items, const ListStyle&) {
  List list;
  for (int32_t i = 1; i <= items.count(); ++i)
    list.items.push_back(items[i].c_str() ? items[i].c_str() : u"");
  std::lock_guard<std::mutex> guard(mutex_);
  addLine("list", name ? name : "", label);
  built_.lists[id] = std::move(list);
}

void HostPageWindow::addSlider(int32_t id, const char* name, const ZelString& leftLabel,
                               const ZelString& rightLabel, int32_t, int32_t) {
  std::lock_guard<std::mutex> guard(mutex_);
  std::u16string ends = std::u16string(leftLabel.c_str()) + u" .. " + rightLabel.c_str();
  addLine("slider", name ? name : "", ZelString(ends.c_str()));
  built_.sliders[id] = Slider();
}

void HostPageWindow::setTracking(int32_t id, bool tracking) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (auto found = built_.sliders.find(id); found != built_.sliders.end()) found->second.tracking = tracking;
}

void HostPageWindow::setRange(int32_t id, int32_t minimum, int32_t maximum, int32_t step) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (auto found = built_.sliders.find(id); found != built_.sliders.end()) {
    found->second.minimum = minimum;
    found->second.maximum = maximum;
    found->second.step = step;
  }
}

void HostPageWindow::selectItem(int32_t id, int32_t index, int32_t) {
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = built_.lists.find(id);
  if (found != built_.lists.end() && index >= 0 && index < static_cast<int32_t>(found->second.items.size()))
    found->second.selected = index;
}

void HostPageWindow::setSliderPosition(int32_t id, int32_t position) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (auto found = built_.sliders.find(id); found != built_.sliders.end()) found->second.position = position;
}

void HostPageWindow::finish(IGuiReceiver* receiver) {
  setReceiver(receiver);
  std::lock_guard<std::mutex> guard(mutex_);
  built_.finished = true;
}

void HostPageWindow::addWidget(HostWidget* widget, const std::string& kind, const ZelString& label) {
  const std::string key = widget->key();
  std::lock_guard<std::mutex> guard(mutex_);
  addLine(kind, key, label, IPtr<HostWidget>(widget));
}

std::vector<HostPageWindow::Line> HostPageWindow::lines() {
  std::lock_guard<std::mutex> guard(mutex_);
  return built_.lines;
}

bool HostPageWindow::finished() {
  std::lock_guard<std::mutex> guard(mutex_);
  return built_.finished;
}

std::optional<HostPageWindow::List> HostPageWindow::list(int32_t id) {
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = built_.lists.find(id);
  return found == built_.lists.end() ? std::nullopt : std::optional<List>(found->second);
}

std::optional<HostPageWindow::Slider> HostPageWindow::slider(int32_t id) {
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = built_.sliders.find(id);
  return found == built_.sliders.end() ? std::nullopt : std::optional<Slider>(found->second);
}

IPtr<HostWidget> HostPageWindow::widget(const std::u16string& label) {
  std::lock_guard<std::mutex> guard(mutex_);
  for (const Line& line : built_.lines)
    if (line.widget && line.label == label) return line.widget;
  return IPtr<HostWidget>();
}

template <class Take>
bool HostPageWindow::actAndTell(int32_t id, int32_t value, Take take) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!take(built_)) return false;
  }
  if (IGuiReceiver* told = receiver()) told->onGuiValueChanged(id, value);
  return true;
}

bool HostPageWindow::pick(int32_t id, int32_t index) {
  return actAndTell(id, index, [&](Built& built) {
    auto found = built.lists.find(id);
    if (found == built.lists.end() || index < 0 || index >= static_cast<int32_t>(found->second.items.size()))
      return false;
    found->second.selected = index;
    return true;
  });
}

bool HostPageWindow::slide(int32_t id, int32_t position) {
  return actAndTell(id, position, [&](Built& built) {
    auto found = built.sliders.find(id);
    if (found == built.sliders.end() || position < found->second.minimum || position > found->second.maximum)
      return false;
    found->second.position = position;
    return true;
  });
}

bool HostPageWindow::hold(int32_t id, bool holding) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    auto found = built_.sliders.find(id);
    if (found == built_.sliders.end() || !found->second.tracking) return false;
  }
  if (IGuiReceiver* told = receiver()) told->onGuiStateChanged(id, holding ? kHolding : kLetGo);
  return true;
}

void HostPageWindow::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IGuiPageWindow*>(this))
      .offer<IGuiTileWindow>(this)
      .offer<IGuiPageWindow>(this)
      .offer<IGuiBaseV3>(this)
      .end();
}
