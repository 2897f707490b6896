// One measured point through the "Iterative Alignment" command, as free probing takes it: the point stored,
// the realignment with its surface points, the target scene and the table rebuilt, and acquisition restarted
// when the hardware matrix moved; with 10, 100 and 1,000 targets on a box, beside the realignment alone on
// the same targets (`vs_realignment`), so that the cost of the scene and the table at every point shows.

#include <benchmark/benchmark.h>

#include <numbers>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "bench_host.h"
#include "beside_peer.h"
#include "commands/alignment/iterative/iterative_realignment.h"
#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "commands/alignment/iterative/target_data.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/registrations/registered_classes.h"
#include "host/cad/cad_model.h"
#include "host/gui/command_runner.h"
#include "host_api/zel_initializer.h"

namespace {

using Cmd = PalperaIterativeAlignmentCmd;
constexpr double kRadius = .003;

const Matrix4x4 kPose =
    Matrix4x4::translation({.05, -.03, .02}) * Matrix4x4::rotation({1, 1, 1}, 10 * std::numbers::pi / 180);

// A hard probe that acquires nothing: starts and stops cost what a call costs.
class QuietDevice : public IZelPluginDevice, public ZelUnknownImpl {
 public:
  bool connect() override { return true; }
  bool disconnect() override { return true; }
  bool startAcquisition() override { return true; }
  void stopAcquisition() override {}
  void addReceiver(IZelPluginDataReceiver*) override {}
  void removeReceiver(IZelPluginDataReceiver*) override {}
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("QuietDevice", this, this).offer<IZelPluginDevice>(this).end();
  }
  const char* className() override { return "QuietDevice"; }
};

template <class T>
void run(const char* className, void (T::*call)()) {
  IPtr<T> object;
  object.createInstance(classIdOf(className));
  if (object) (object.get()->*call)();
}

// n targets on the top, front and end faces of the box [0, .2] x [0, .1] x [0, .02], measured 0.3 mm beside
// their picks at the pose.
void addTouchedTargets(Cmd& command, int n) {
  const Vector3 normals[3] = {{0, 0, 1}, {0, -1, 0}, {-1, 0, 0}};
  for (int i = 0; i < n; ++i) {
    const double s = (i / 3 + 1.0) / (n / 3 + 2.0);
    const Vector3 picks[3] = {{.2 * s, .1 * (1 - s), .02}, {.2 * s, 0, .02 * (1 - s)}, {0, .1 * s, .02 * s}};
    IPtr<Cmd::Target> nominal(new Cmd::Target);
    nominal->point = picks[i % 3];
    nominal->direction = normals[i % 3];
    nominal->criticalDistance = .02;
    command.addTarget(nominal.get());
    TargetData& entry = command.targets().back();
    entry.measured = IPtr<Cmd::Target>(new Cmd::Target);
    const Vector3 touched = picks[i % 3] + Vector3::perpendicularPart({.0003, .0003, .0003}, normals[i % 3]);
    entry.measured->point = Matrix4x4::transformPoint(kPose, touched + kRadius * normals[i % 3]);
    entry.probeRadius = kRadius;
  }
}

void BM_MeasuredPointThroughTheCommand(benchmark::State& state) {
  BenchHost& bench = attachModule();
  StandinHost& host = bench.host;
  run<IZelInitializer>("PalperaDataItemAdder", &IZelInitializer::initialise);
  run<IZelStartupTask>("EmulatorPluginStartupTask", &IZelStartupTask::run);
  run<IZelStartupTask>("PluginManagerStartupTask", &IZelStartupTask::run);
  SPtr<IZelPluginService> registry;
  IPtr<QuietDevice> device(new QuietDevice);
  registry->setDevice(ZelCString("HardProbe"), device.get());
  IZelPluginManager* manager = registry->getManager(ZelCString("HardProbe"));
  manager->setActivePlugin(queryPart<IZelPlugin>(host.devices().pluginHandler().plugins().back()));
  IZelPlugin* plugin = manager->currentPlugin();
  plugin->setHardwareMatrix(Matrix4x4::identity());

  IPtr<HostDocObject> reference =
      addCadModel(host.document().doc(), u"RefObject", boxModel({0, 0, 0}, {.2, .1, .02}));
  host.document().doc().setActiveObject(reference.get());
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaIterativeAlignmentCmd"));
  CommandRunner runner(&host.gui().commandContainer(), &host.gui().dialog(), &host.scene().view());
  runner.start(command.get());
  auto* cmd = queryPart<Cmd>(command.get());
  const int n = static_cast<int>(state.range(0));
  addTouchedTargets(*cmd, n);
  std::vector<TargetData> alone = cmd->targets();
  IterativeRealignment realignment({&alone, reference.get(), nullptr, nullptr, nullptr});
  // Free probing (every target measured and in tolerance: the touches lie 0.4 mm beside their picks) with the
  // first target current; its first point realigns the whole list.
  for (TargetData& entry : cmd->targets()) entry.inTolerance = true;
  cmd->startProbing(true);
  cmd->approachTarget(cmd->targets().front().nominal.get());
  const Vector3 touch =
      Matrix4x4::transformPoint(plugin->hardwareMatrix(), cmd->targets().front().measured->point);

  runBesidePeer(
      state, 1, "realignment",
      [&] {
        cmd->onPointMeasured(touch, {0, 0, -1}, kRadius);
      },
      [&] { benchmark::DoNotOptimize(realignment.updateAlignment()); });
  state.counters["free_probing"] = cmd->isFreeProbing() ? 1 : 0;
  runner.cancel();
  registry->setDevice(ZelCString("HardProbe"), nullptr);
  host.document().doc().remove(reference.get());
}
BENCHMARK(BM_MeasuredPointThroughTheCommand)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
