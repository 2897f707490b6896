#include "ui/triad/alignment_matrix_source.h"

#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/object/query_chain.h"

void DeviceCSYSGfx::AlignmentMatrixSource::getMatrix(Matrix4x4& out) {
  // Looked up on every draw: the manager can come after the triad and go with the registry.
  IZelPluginManager* manager = getHardProbePluginManager();
  IZelPlugin* plugin = manager ? manager->currentPlugin() : nullptr;
  if (!plugin) {
    out = Matrix4x4::identity();
    return;
  }
  plugin->reloadObjectMatrix();
  plugin->deviceMatrix(out);
  plugin->resetObjectMatrix();
}

void DeviceCSYSGfx::AlignmentMatrixSource::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelMatrixSource>(this).end();
}
