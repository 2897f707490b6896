#include "framework/object/host_lookup.h"

int32_t getHostService(const ZelCString& interfaceName, void** out) {
  IZelRoot* root = hostRoot();
  if (!root) return 0;
  return root->getService(&interfaceName, out);
}

IZelPoints* getPointsService() {
  void* raw = nullptr;
  getHostService(ZelCString("IZelPoints"), &raw);
  return static_cast<IZelPoints*>(raw);
}
