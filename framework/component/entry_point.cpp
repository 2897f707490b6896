#include "basic_types/no_destructor.h"
#include "framework/component/zel_base_component.h"
#include "framework/component/zel_default_class_factory.h"
#include "platform/unfinished_files.h"

namespace {

// The module's interface version, as the host expects it.
constexpr uint32_t kInterfaceVersion = 100;

ZelBaseComponentFact* componentFactory() {
  static NoDestructor<ZelBaseComponentFact> factory;
  return factory.get();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t EntryPoint(uint32_t* interfaceVersion,
                                                                     IZelComponent** component) {
  // Both are the host's out-parameters; without either there is nowhere to hand the component.
  if (!component || !interfaceVersion) return 0;
  // The module's writers register their unfinished files with the module's own registry: a signal that ends
  // the host removes them too, before the host's handler removes the host's.
  platform::removeUnfinishedFilesOnSignals();
  ZelBaseComponentFact* factory = componentFactory();
  if (!factory) return 0;
  try {
    *component = factory->createComponent();
    *interfaceVersion = kInterfaceVersion;
    return 1;
  } catch (...) {
    *interfaceVersion = 0;
    *component = nullptr;
    return 0;
  }
}
