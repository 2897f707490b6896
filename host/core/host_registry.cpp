#include "host/core/host_registry.h"

#include <algorithm>
#include <utility>

#include "framework/object/query_chain.h"

namespace {

// A walk over texts taken from the registry when it was made.
class RegistryWalk : public Corvane::IZelRegIter, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostRegistryWalk";
  explicit RegistryWalk(std::vector<HostRegistry::TextPtr> texts) : texts_(std::move(texts)) {}

  void first() override { position_ = 0; }
  void next() override {
    if (!isDone()) ++position_;
  }
  bool isDone() override { return position_ >= texts_.size(); }
  const ZelCString* currentValue() override { return isDone() ? nullptr : &texts_[position_]->view; }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<Corvane::IZelRegIter>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  const std::vector<HostRegistry::TextPtr> texts_;
  size_t position_ = 0;
};

}  // namespace

void HostRegistry::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<Corvane::IZelRegistry>(this).end();
}

void HostRegistry::add(const std::string& path, const std::string& text) {
  auto stored = std::make_shared<const Text>(text);
  std::lock_guard lock(mutex_);
  auto [it, added] = entries_.try_emplace(path, Entry{nextOrder_, stored});
  if (added) {
    ++nextOrder_;
    return;
  }
  replaced_.push_back(std::exchange(it->second.text, std::move(stored)));
}

void HostRegistry::remove(const std::string& path) {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(path);
  if (it == entries_.end()) return;
  replaced_.push_back(std::move(it->second.text));
  entries_.erase(it);
}

HostRegistry::TextPtr HostRegistry::find(const std::string& path) {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(path);
  return it == entries_.end() ? nullptr : it->second.text;
}

ZelID HostRegistry::classId(const std::string& path) {
  TextPtr text = find(path);
  return text ? ZelID::fromString(text->value.c_str()) : ZelID{};
}

const ZelCString* HostRegistry::lookup(const ZelCString* path) {
  if (!path) return nullptr;
  TextPtr text = find(path->c_str());
  return text ? &text->view : nullptr;
}

Corvane::IZelRegIter* HostRegistry::entries(const ZelCString* path) {
  // The paths inside a folder sort together, right after the folder's own path and "/".
  const std::string prefix = std::string(path ? path->c_str() : "") + "/";
  std::vector<std::pair<uint64_t, TextPtr>> found;
  {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.lower_bound(prefix); it != entries_.end() && it->first.starts_with(prefix);
         ++it) {
      // An entry of a folder further down belongs to that folder's walk.
      if (it->first.find('/', prefix.size()) == std::string::npos)
        found.emplace_back(it->second.order, it->second.text);
    }
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<TextPtr> texts;
  for (auto& [order, text] : found) texts.push_back(std::move(text));
  return new RegistryWalk(std::move(texts));
}
