#include "host/gui/host_help_service.h"

#include "framework/object/query_chain.h"

void HostHelpService::setTopic(const ZelCString& topic, bool show) {
  std::lock_guard lock(mutex_);
  topics_.push_back(std::string(topic.c_str()) + (show ? "\tshown" : "\tkept"));
}

std::vector<std::string> HostHelpService::topics() {
  std::lock_guard lock(mutex_);
  return topics_;
}

void HostHelpService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IHelpServiceV2>(this).end();
}
