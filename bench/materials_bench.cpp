// Reading the materials file at start-up, in materials per second for files of 1000 to 64000 materials: the
// rate stays flat when the reading is linear in the file. Beside it, the peer: a plain pugixml load of the
// same file, as the reading's floor.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <pugixml.hpp>

#include "bench_host.h"
#include "devices/materials/zel_material_xml_reader.h"
#include "devices/materials/zel_materials.h"
#include "platform/utf8.h"

namespace {

// A file of count materials with distinct keys, each with its expansion coefficient; answers its path.
std::string materialsFile(int64_t count) {
  std::string name = (std::filesystem::temp_directory_path() /
                      ("palpera-bench-materials-" + std::to_string(getpid()) + "-" + std::to_string(count)))
                         .string();
  std::ofstream out(name, std::ios::binary);
  out << "<Materials>\n";
  for (int64_t i = 0; i < count; ++i) {
    out << "<Material name_i18n=\"Alloy" << i << "\"><Name>Alloy " << i
        << "</Name><ThermalExpansionCoefficient><Type Type=\"String\">Isotropic</Type>"
           "<Value Type=\"Float\">1.17e-5</Value><RefTemp Type=\"Float\">20</RefTemp>"
           "</ThermalExpansionCoefficient></Material>\n";
  }
  out << "</Materials>\n";
  return name;
}

void BM_ReadMaterials(benchmark::State& state) {
  attachModule();
  const std::string file = materialsFile(state.range(0));
  ZelString path;
  path.setBuffer(platform::fromUtf8(file).c_str(), -1);
  for (auto _ : state) {
    IPtr<Materials::ZelMaterials> library(new Materials::ZelMaterials(Materials::ZelMaterials::Empty{}));
    Materials::ZelMaterialXmlReader().read(path, *library);
    if (library->count() != state.range(0)) state.SkipWithError("materials missing");
  }
  std::filesystem::remove(file);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PugixmlLoad(benchmark::State& state) {
  const std::string file = materialsFile(state.range(0));
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_file(file.c_str())) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(document.first_child());
  }
  std::filesystem::remove(file);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_ReadMaterials)->RangeMultiplier(4)->Range(1000, 64000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlLoad)->RangeMultiplier(4)->Range(1000, 64000)->Unit(benchmark::kMillisecond);
