#include "alignment_lines.h"

#include <cstdio>

#include "basic_types/matrix4x4.h"
#include "basic_types/transform_checks.h"
#include "devices/alignment/alignment_services.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "script_action.h"

namespace {

template <class T>
T* service(HostSession& session) {
  ZelCString name(T::interfaceName);
  void* raw = nullptr;
  session.host.root().getService(&name, &raw);
  return static_cast<T*>(raw);
}

void printMatrix(const char* name, const Matrix4x4& m) {
  std::printf("%s\n", name);
  for (int row = 0; row < 4; ++row) {
    const double* r = m.m + 4 * row;
    std::printf("%.12g\t%.12g\t%.12g\t%.12g\n", r[0], r[1], r[2], r[3]);
  }
}

const Matrix4x4& matrixOr(const Matrix4x4* matrix) {
  static const Matrix4x4 identity;
  return matrix ? *matrix : identity;
}

}  // namespace

void printAlignment(HostSession& session) {
  auto* devices = service<IZelPluginService>(session);
  IZelPluginManager* manager = devices ? devices->getManager(ZelCString("HardProbe")) : nullptr;
  IZelPlugin* plugin = manager ? manager->currentPlugin() : nullptr;
  if (!plugin) throw ScriptError("no hard-probe plug-in is current");
  auto* objectService = service<IZelPluginDeviceObjectAlignmentService>(session);
  auto* scaleService = service<IZelPluginDeviceScaleAlignmentService>(session);
  const Matrix4x4& hardware = plugin->hardwareMatrix();
  // The object matrix in force: a measuring command takes up only a rotation and a shift, the identity else.
  const Matrix4x4* held = objectService ? objectService->matrix() : nullptr;
  const Matrix4x4& object = matrixOr(held && isProperRigid(*held) ? held : nullptr);
  const Matrix4x4& scale = matrixOr(scaleService ? scaleService->matrix() : nullptr);
  printMatrix("hardware", hardware);
  printMatrix("object", object);
  printMatrix("scale", scale);
  // What the device delivers in a measuring command, which takes the object matrix in when it starts; the
  // plug-in's own cache of it holds the identity between commands.
  printMatrix("combined", object * hardware * scale);
}
