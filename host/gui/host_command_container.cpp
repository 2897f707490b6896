#include "host/gui/host_command_container.h"

#include <cstring>

#include "framework/object/query_chain.h"

double HostCommandContainer::query(int32_t what) {
  return what == kWorkingSizeQuery ? workingSize_.load() : 0.0;
}

bool HostCommandContainer::hostQuery(int32_t number) {
  std::lock_guard lock(mutex_);
  auto found = hostQueryAnswers_.find(number);
  return found != hostQueryAnswers_.end() && found->second;
}

void HostCommandContainer::setHostQueryAnswer(int32_t number, bool answer) {
  std::lock_guard lock(mutex_);
  hostQueryAnswers_[number] = answer;
}

ZelCString HostCommandContainer::argumentText() {
  std::lock_guard lock(mutex_);
  return ZelCString(argumentText_.c_str(), static_cast<int32_t>(argumentText_.size()));
}

bool HostCommandContainer::flag(const char* name) {
  if (!name) return false;
  if (std::strcmp(name, kInCommand) == 0) return inCommand_;
  if (std::strcmp(name, kRecordingMacro) == 0) return recordingMacro_;
  return false;
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
