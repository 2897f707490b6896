#include "host/scene/host_scene.h"

#include "framework/object/query_chain.h"

void HostScene::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<ISGfxScene>(this)
      .offer<IGfxView>(this)
      .end();
}
