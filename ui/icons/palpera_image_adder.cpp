#include "ui/icons/palpera_image_adder.h"

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "gen/palpera/palpera_icons.h"
#include "host_api/image_store.h"

namespace {

const ClassRegistration<PalperaImageAdder> registration(registeredClass("PalperaImageAdder"));

}  // namespace

void PalperaImageAdder::initialise() {
  SPtr<IImageStore> store;
  if (!store) return;
  // The store reads the bytes during the call; they stay in the module's read-only data, never copied here.
  for (const EmbeddedIcon& icon : kPalperaIcons) store->add(icon.name, icon.png, icon.size);
}

void PalperaImageAdder::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelInitializer>(this).end();
}
