#pragma once

// The stand-in host's node factory ("IZelNodeFactory"). It makes nodes by interface name from one table,
// a line per node kind the host makes. A kind that draws what an
// iterator gives is made through createNodeWithIterator only, any other through createNode only. An
// interface the table does not name, or a parent that is not one of the host's nodes, answers null.
// Main thread only, as the nodes are.

#include "host/core/host_unknown.h"
#include "host_api/zel_node_factory.h"

class HostNodeFactory : public IZelNodeFactory, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostNodeFactory";

  IZelUnknown* createNode(const ZelCString* interfaceName, IZelUnknown* parent, const char* name) override;
  IZelUnknown* createNodeWithIterator(const ZelCString* interfaceName, IZelUnknown* parent, const char* name,
                                      IZelItr* iterator) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IZelUnknown* make(const ZelCString* interfaceName, IZelUnknown* parent, const char* name,
                    bool drawsIterator, IZelItr* iterator);
};
