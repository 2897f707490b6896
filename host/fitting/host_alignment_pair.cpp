#include "host/fitting/host_alignment_pair.h"

#include "framework/object/query_chain.h"

void HostAlignmentPair::set(IZelSubObject* fixed, IZelSubObject* floating) {
  fixed_ = fixed;
  floating_ = floating;
}

void HostAlignmentPair::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelAlignmentPair>(this).end();
}
