#include "devices/emulator/emulation_run.h"

#include <ctime>

#include "devices/emulator/emulator_input_handlers.h"
#include "host_api/data_store.h"

namespace {

constexpr const char* kProbeDiameter = "Palpera/Emulator/ProbeDiameter";
constexpr const char* kMaxNoiseFactor = "Palpera/Emulator/MaxNoiseFactor";
constexpr double kDefaultProbeDiameter = 0.006;
constexpr double kDefaultMaxNoiseFactor = 0.01;

IPtr<IZelRandom> seededRandom() {
  IPtr<IZelRandom> random;
  random.getService();
  if (random) random->seed(static_cast<uint32_t>(std::time(nullptr)));
  return random;
}

}  // namespace

EmulationParameters EmulationParameters::fromSettings() {
  SPtr<IDataStore> store;
  double diameter = store ? store->getDouble(kProbeDiameter, kDefaultProbeDiameter) : kDefaultProbeDiameter;
  double factor = store ? store->getDouble(kMaxNoiseFactor, kDefaultMaxNoiseFactor) : kDefaultMaxNoiseFactor;
  EmulationParameters parameters;
  parameters.probeRadius = diameter * 0.5;
  parameters.maxNoise = factor * 2.0 * parameters.probeRadius;
  return parameters;
}

EmulationRun::EmulationRun(const EmulationParameters& runParameters, IZelDocObject* reference,
                           EmulatorPlugin::Receiver* target)
    : parameters(runParameters),
      random(seededRandom()),
      pick(reference),
      queue(runParameters.probeRadius, target) {}

EmulationRun::~EmulationRun() = default;
