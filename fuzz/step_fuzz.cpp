// A STEP file is whatever the user hands the host: any bytes loaded as a CAD model must either become one
// document object or be refused with a CadFileError that leaves the document as it was, in bounded time.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <fstream>

#include "fuzz/fuzz_host.h"
#include "host/cad/cad_model.h"
#include "tests/support/scratch_directory.h"

namespace {

// The whole load is bounded by about twice this: the kernel's child reads the file and builds its model
// within it, and the host builds that model once more from the shape the child wrote. Twice this stays below
// the fuzzer's own limit for one input (fuzz/run.sh), so that a file the kernel or its mesher spins on is
// refused by the host's bound rather than reported as a hang of the target.
constexpr std::chrono::seconds kKernelTimeLimit(3);

// Holds the one input file; removed with it when the fuzzer ends.
const ScratchDirectory& scratch() {
  static ScratchDirectory directory;
  return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = scratch().system("part.step");
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  HostDocument& document = fuzzHost().host.document().doc();
  const int32_t before = document.objectCount();
  try {
    IPtr<HostDocObject> object = loadCadModel(document, u"RefObject", path, nullptr, kKernelTimeLimit);
    if (!object || document.objectCount() != before + 1) __builtin_trap();
    document.remove(object.get());
  } catch (const CadFileError&) {
    if (document.objectCount() != before) __builtin_trap();
  }
  return 0;
}
