// palpera-host: the command-line host. It loads the module as a host does (dlopen, EntryPoint), initialises
// it with the stand-in host's root and then does what the options ask.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/api/zel_component.h"
#include "host/module_library.h"
#include "host/standin_host.h"
#include "host/zel_id_text.h"
#include "platform/process.h"

namespace {

constexpr const char* kUsage =
    "usage: palpera-host [--module PATH] --info\n"
    "  --module PATH  the module to load (default: the one built beside this program)\n"
    "  --info         print the module's name, build stamp, interface version and registered classes\n";

struct Options {
  std::string modulePath = PALPERA_DEFAULT_MODULE;
  bool info = false;
};

bool parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--info") {
      options.info = true;
    } else if (arg == "--module" && i + 1 < argc) {
      options.modulePath = argv[++i];
    } else {
      std::fprintf(stderr, "palpera-host: unknown option '%s'\n%s", arg.c_str(), kUsage);
      return false;
    }
  }
  if (!options.info) {
    std::fprintf(stderr, "%s", kUsage);
    return false;
  }
  return true;
}

void printInfo(const ModuleLibrary& module) {
  void* part = nullptr;
  module.component()->queryInterface(IZelCompInternal::interfaceName, &part, false);
  auto* internal = static_cast<IZelCompInternal*>(part);
  if (!internal) {
    std::printf("module answers no IZelCompInternal\n");
    return;
  }
  std::printf("module: %s\n", internal->moduleName());
  std::printf("build stamp: %s\n", internal->buildStamp());
  std::printf("interface version: %u\n", module.interfaceVersion());
  std::printf("classes: %u\n", internal->classCount());
  ZelID id;
  for (bool more = internal->firstClassId(&id); more; more = internal->nextClassId(&id)) {
    const char* name = internal->className(&id);
    std::printf("%s %s\n", canonicalText(id).c_str(), name ? name : "");
  }
}

int run(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) return 2;
  StandinHost host;  // outlives the module, which counts its objects through the host's root
  host.errors().setEcho(true);
  std::string error;
  std::unique_ptr<ModuleLibrary> module = ModuleLibrary::load(options.modulePath, error);
  if (!module) {
    std::fprintf(stderr, "palpera-host: cannot load the module: %s\n", error.c_str());
    return 1;
  }
  host.attach(module->component());
  if (options.info) printInfo(*module);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The host ends the process without running static destructors: module-wide objects may still hold host
  // services, and device threads may still be winding down.
  platform::exitProcess(run(argc, argv));
}
