#include "host/scene/host_scene_camera.h"

#include "framework/object/query_chain.h"

void HostSceneCamera::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ISGfxCamera>(this).end();
}
