#include "host/document/host_scene_transform.h"

#include "framework/object/query_chain.h"

void HostSceneTransform::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelMatrixSource>(this).end();
}
