#pragma once

// Raw lookups through the host root. The answers carry no reference: a holder that keeps one assigns it to an
// IPtr. Without a host root every lookup answers 0 or null and reports nothing.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_id.h"
#include "framework/object/host_root.h"
#include "framework/object/iptr.h"
#include "host/api/zel_node_factory.h"
#include "host/api/zel_registry.h"
#include "host/api/zel_root.h"

// The root's getService; 0 without touching out when there is no host root.
int32_t getHostService(const ZelCString& interfaceName, void** out);

// A new object of the class asked for T's interface name; null without a host.
template <class T>
T* createInstance(const ZelID& classId) {
  IZelRoot* root = hostRoot();
  if (!root) return nullptr;
  ZelCString name(T::interfaceName);
  void* raw = nullptr;
  root->createInstance(&classId, &name, &raw);
  return static_cast<T*>(raw);
}

class IZelPoints;
// The host's "IZelPoints" service, or null.
IZelPoints* getPointsService();

// A scene-graph node made by the host's node factory for T's interface name, or null when the factory, the
// node or its T part is missing.
template <class T>
T* createNode(void* a, void* b) {
  SPtr<IZelNodeFactory> factory;
  if (!factory) return nullptr;
  ZelCString name(T::interfaceName);
  IZelUnknown* node = factory->createNode(&name, a, b);
  if (!node) return nullptr;
  void* part = nullptr;
  node->queryInterface(T::interfaceName, &part, false);
  return static_cast<T*>(part);
}

// The same through the factory's second operation, for nodes made with an iterator.
template <class T>
T* createNode(void* a, void* b, void* c) {
  SPtr<IZelNodeFactory> factory;
  if (!factory) return nullptr;
  ZelCString name(T::interfaceName);
  IZelUnknown* node = factory->createNodeWithIterator(&name, a, b, c);
  if (!node) return nullptr;
  void* part = nullptr;
  node->queryInterface(T::interfaceName, &part, false);
  return static_cast<T*>(part);
}

// A registry pointer: filled with an object of the class whose id text the host registry stores under path.
// Any missing step (no registry, no text, a text that is not an id) leaves it empty.
template <class T>
class RegPtr : public IPtr<T> {
 public:
  explicit RegPtr(const ZelCString& path) {
    SPtr<Corvane::IZelRegistry> registry;
    if (!registry) return;
    const ZelCString* text = registry->lookup(&path);
    if (!text) return;
    ZelID id = ZelID::fromString(*text);
    if (GUIDUtils::isValid(id)) this->createInstance(id);
  }
};
