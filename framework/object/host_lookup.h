#pragma once

// Raw lookups through the host root. The answers carry no reference: a holder that keeps one assigns it to an
// IPtr. Without a host root every lookup answers 0 or null and reports nothing.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_id.h"
#include "framework/object/host_root.h"
#include "framework/object/iptr.h"
#include "host_api/zel_node_factory.h"
#include "host_api/zel_registry.h"
#include "host_api/zel_root.h"

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

// The T part of a node the factory made, or null.
template <class T>
T* queriedNode(IZelUnknown* node) {
  if (!node) return nullptr;
  void* part = nullptr;
  node->queryInterface(T::interfaceName, &part, false);
  return static_cast<T*>(part);
}

class IZelPoints;
// The host's "IZelPoints" service, or null.
IZelPoints* getPointsService();

// A scene-graph node of T's interface name, called name, made by the host's node factory under parent (null:
// a node of its own, which the caller keeps by assigning it to an IPtr). Null when the factory, the node or
// its T part is missing.
template <class T>
T* createNode(IZelUnknown* parent, const char* name) {
  SPtr<IZelNodeFactory> factory;
  if (!factory) return nullptr;
  ZelCString interface(T::interfaceName);
  return queriedNode<T>(factory->createNode(&interface, parent, name));
}

// The same through the factory's second operation, for nodes that draw what an iterator gives.
template <class T>
T* createNode(IZelUnknown* parent, const char* name, IZelItr* iterator) {
  SPtr<IZelNodeFactory> factory;
  if (!factory) return nullptr;
  ZelCString interface(T::interfaceName);
  return queriedNode<T>(factory->createNodeWithIterator(&interface, parent, name, iterator));
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
