// The scale block comes from a saved document: any bytes must be read without a crash, and a block that is
// refused must leave the service exactly as it was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "basic_types/no_destructor.h"
#include "devices/alignment/alignment_services.h"
#include "framework/object/host_detach.h"
#include "framework/object/iptr.h"
#include "fuzz/fuzz_host.h"
#include "host/document/host_document_data.h"
#include "host/standin_host.h"

namespace {

constexpr const char* kScaleService = "IZelPluginDeviceScaleAlignmentService";

// One host with the module attached for the whole run; never torn down, since the module counts its objects
// through the host until the process ends.
struct Session;
Session& session();

struct Session {
  Session() {
    scale.getService();
    if (!scale) __builtin_trap();
    // The module leaves the host before the process's statics go, as an unloading host would have it.
    std::atexit([] {
      session().scale.release();
      detachFromHost();
    });
  }

  FuzzHost& module = fuzzHost();
  SPtr<IZelPluginDeviceScaleAlignmentService> scale;
};

Session& session() {
  static NoDestructor<Session> made;
  return *made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Session& s = session();
  s.scale->setMaterial(ZelCString("Before"), 21.5);
  s.scale->setUnits(4);
  DocumentData document{{kScaleService, std::vector<uint8_t>(data, data + size)}};
  bool applied = openDocumentData(s.module.host.root(), document, {kScaleService})[kScaleService];
  ZelCString name;
  double temperature = 0;
  s.scale->material(name, temperature);
  bool unchanged = temperature == 21.5 && name == ZelCString("Before") && s.scale->units() == 4;
  if (!applied && !unchanged) __builtin_trap();
  return 0;
}
