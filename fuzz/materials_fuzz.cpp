// The materials file is the user's to edit: any bytes read through the host's XML reader must leave a library
// that is sound (every material found by its own key), show at most one message, and never end empty after a
// message.

#include <cstddef>
#include <cstdint>
#include <fstream>

#include "devices/materials/zel_material_xml_reader.h"
#include "devices/materials/zel_materials.h"
#include "framework/object/iptr.h"
#include "fuzz/fuzz_host.h"
#include "tests/support/scratch_directory.h"

namespace {

// Holds the one input file; removed with it when the fuzzer ends.
const ScratchDirectory& scratch() {
  static ScratchDirectory directory;
  return directory;
}

void checkSound(Materials::IZelMaterials& library, size_t messages) {
  if (messages > 1) __builtin_trap();
  if (messages == 1 && library.count() == 0) __builtin_trap();
  for (int32_t i = 1; i <= library.count(); ++i) {
    ZelCString key = library.items()[i]->name();
    if (key.isEmpty() || !library.find(key)) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzHost& s = fuzzHost();
  std::ofstream(scratch().system("materials.mtlx"), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  s.host.gui().simpleDialog().clear();
  IPtr<Materials::ZelMaterials> library(new Materials::ZelMaterials(Materials::ZelMaterials::Empty{}));
  Materials::ZelMaterialXmlReader().read(scratch().module("materials.mtlx"), *library);
  checkSound(*library, s.host.gui().simpleDialog().shown().size());
  return 0;
}
