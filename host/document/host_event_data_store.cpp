#include "host/document/host_event_data_store.h"

#include <cstring>

#include "framework/object/query_chain.h"

namespace {

constexpr const char* kKnownEvents[] = {HostEventDataStore::kDocumentReset,
                                        HostEventDataStore::kAlignmentChanged};

// The groups of the store are keys too, but no event: nobody subscribes to them.
bool isKnownEvent(const char* key) {
  for (const char* event : kKnownEvents) {
    if (key && std::strcmp(key, event) == 0) return true;
  }
  return false;
}

}  // namespace

HostEventDataStore::HostEventDataStore() : events_(new HostDataStore) {
  for (const char* group : {"Document", "General"}) events_->addGroup(group);
  for (const char* event : kKnownEvents) events_->addEvent(event, nullptr);
}

bool HostEventDataStore::addListener(const char* key, IZelDataReceiver* receiver) {
  return isKnownEvent(key) && events_->addListener(key, receiver);
}

bool HostEventDataStore::removeListener(const char* key, IZelDataReceiver* receiver) {
  return events_->removeListener(key, receiver);
}

bool HostEventDataStore::fire(const char* event) {
  return events_->fireEvent(nullptr, event);
}

void HostEventDataStore::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IEventDataStore>(this).end();
}
