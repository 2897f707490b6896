#include "host/scene/host_gfx_renderer.h"

#include <algorithm>

#include "framework/object/query_chain.h"

void HostGfxRenderer::beginUpdate() {
  std::lock_guard lock(mutex_);
  ++counts_.begins;
  counts_.deepest = std::max(counts_.deepest, ++counts_.depth);
}

void HostGfxRenderer::endUpdate() {
  std::lock_guard lock(mutex_);
  if (counts_.depth == 0) {
    ++counts_.unmatchedEnds;
    return;
  }
  --counts_.depth;
  ++counts_.ends;
}

void HostGfxRenderer::redraw(bool now) {
  std::lock_guard lock(mutex_);
  ++counts_.redraws;
  if (now) ++counts_.immediateRedraws;
}

HostGfxRenderer::Counts HostGfxRenderer::counts() {
  std::lock_guard lock(mutex_);
  return counts_;
}

void HostGfxRenderer::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxRenderer>(this).end();
}
