#include "host/gui/host_command_container.h"

#include <cstring>

#include "framework/object/query_chain.h"

HostCommandContainer::HostCommandContainer(HostDocument& document)
    : document_(document),
      flags_{{kInCommand, false},
             {kRecordingMacro, false},
             {kSectionCurrent, false},
             {kBoundaryCurrent, false}} {}

double HostCommandContainer::query(int32_t what) {
  return what == kWorkingSizeQuery ? workingSize_.load() : 0.0;
}

bool HostCommandContainer::hostQueryAnswer(int32_t number) {
  std::lock_guard lock(mutex_);
  auto found = hostQueryAnswers_.find(number);
  return found != hostQueryAnswers_.end() && found->second;
}

void HostCommandContainer::setHostQueryAnswer(int32_t number, bool answer) {
  std::lock_guard lock(mutex_);
  hostQueryAnswers_[number] = answer;
}

void HostCommandContainer::setAnswer(const std::string& operation, intptr_t answer) {
  std::lock_guard lock(mutex_);
  answers_[operation] = answer;
}

std::vector<HostCommandContainer::Call> HostCommandContainer::calls() {
  std::lock_guard lock(mutex_);
  return calls_;
}

intptr_t HostCommandContainer::heard(const char* operation, intptr_t value) {
  std::lock_guard lock(mutex_);
  calls_.push_back({operation, value});
  auto found = answers_.find(operation);
  return found != answers_.end() ? found->second : 0;
}

ZelCString HostCommandContainer::argumentText() {
  std::lock_guard lock(mutex_);
  return ZelCString(argumentText_.c_str(), static_cast<int32_t>(argumentText_.size()));
}

bool HostCommandContainer::allowsType(const char* type) {
  if (!type) return false;
  std::lock_guard lock(mutex_);
  return !barredTypes_.contains(type);
}

void HostCommandContainer::setTypeAllowed(const std::string& type, bool allowed) {
  std::lock_guard lock(mutex_);
  if (allowed) {
    barredTypes_.erase(type);
  } else {
    barredTypes_.insert(type);
  }
}

bool HostCommandContainer::flag(const char* name) {
  if (!name) return false;
  if (std::strcmp(name, kSingleObjectActive) == 0) return document_.activeObject() != nullptr;
  if (std::strcmp(name, kInCommand) == 0 && commandRunning_) return true;
  std::lock_guard lock(mutex_);
  auto found = flags_.find(name);
  return found != flags_.end() && found->second;
}

std::vector<std::string> HostCommandContainer::flagsSet() {
  std::vector<std::string> names;
  if (commandRunning_) names.push_back(kInCommand);
  std::lock_guard lock(mutex_);
  for (const auto& [name, on] : flags_) {
    if (on && !(name == kInCommand && commandRunning_)) names.push_back(name);
  }
  return names;
}

bool HostCommandContainer::setFlag(const std::string& name, bool on) {
  std::lock_guard lock(mutex_);
  auto found = flags_.find(name);
  if (found == flags_.end()) return false;
  found->second = on;
  return true;
}

bool HostCommandContainer::holdsObject(const char* name) {
  if (!name) return false;
  IZelDocObject* current = document_.currentObject();
  if (std::strcmp(name, kWorld) == 0) return !current;
  return current && current->objectName() == ZelString(name);
}

bool HostCommandContainer::hasFeatures(int32_t count) {
  IZelDocObject* active = document_.activeObject();
  if (!active) return false;
  void* part = nullptr;
  active->queryInterface(HostDocObject::interfaceName, &part, false);
  if (!part) return false;
  size_t held = static_cast<HostDocObject*>(part)->featureSubObjects().subObjects().size();
  return count <= 0 || held >= static_cast<size_t>(count);
}

void HostCommandContainer::finishCommand(bool applied) {
  if (CommandFinisher* finisher = finisher_) finisher->finishRunning(applied);
}

void HostCommandContainer::setArgumentText(const std::string& text) {
  std::lock_guard lock(mutex_);
  argumentText_ = text;
}

void HostCommandContainer::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IComponentCommandContainerInt*>(this))
      .offer<IComponentCommandContainerInt>(this)
      .offer<IComponentCommandContainerV2>(this)
      .end();
}
