// One acquisition of many touches through "Hard Probe Features", as the host replays it: the host log puts
// the module's log-replay plug-in in place of the hard probe, whose worker plays a device-event file of
// 10^3, 10^4 or 10^5 touches on a 110 x 70 mm face (10 µm of noise) and a stop, and the command makes the
// plane, which the host applies. A round is the whole run, timed in the process's CPU time (the replay's
// worker counts too); items are touches. `per_touch_x_smallest` is the cost of a touch over its cost in the
// smallest acquisition of the same run: near 1 when a touch costs the same however many came before it, as
// a run whose live statistics follow every touch with a fit of every point taken would not.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "bench_host.h"
#include "beside_peer.h"
#include "devices/log_replay/log_replay_plugin.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host/cad/cad_model.h"
#include "host/core/module_startup.h"
#include "host/gui/command_runner.h"
#include "host_api/component_command.h"
#include "host_api/data_store.h"
#include "tests/support/recording_receiver.h"
#include "tests/support/scratch_directory.h"

namespace {

constexpr int64_t kSmallest = 1000;
constexpr const char* kPlanes = "IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false";

// A host log of one acquisition of count touches, a 3 mm ball, with the identity as device transform;
// answers its path.
std::string writeAcquisition(const ScratchDirectory& folder, int64_t count) {
  const std::string events = "acquisition-" + std::to_string(count) + "-hardprobe-0000.xml";
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::normal_distribution<double> noise(0.0, 10e-6);
  std::ofstream out(folder.system(events));
  out << "<SetRadius time=\"0\">0.003000</SetRadius>";
  char point[160];
  for (int64_t i = 0; i < count; ++i) {
    std::snprintf(point, sizeof point, "<Point><X>%.7f</X><Y>%.7f</Y><Z>%.7f</Z></Point>",
                  0.005 + 0.11 * unit(rng), 0.005 + 0.07 * unit(rng), 0.013 + noise(rng));
    out << "<OnPointSampled time=\"0\">" << point << "</OnPointSampled>";
  }
  out << "<OnPointStop time=\"0\"><Point><X>0.06</X><Y>0.04</Y><Z>0.02</Z></Point></OnPointStop>";
  const std::string log = folder.system("acquisition-" + std::to_string(count) + ".log");
  std::ofstream(log) << "PluginAlignmentMatrix\t1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 \nPluginData\t" << events
                     << "\nPluginWait\t\n";
  return log;
}

// The module attached and started, as the host starts it once, with the part the touches lie on.
BenchHost& startedModule() {
  BenchHost& bench = attachModule();
  static const bool started = [&] {
    runModuleStartup(bench.host.root(), bench.component.get());
    // The hard probe stays the emulator outside a replay, and it wants the part it touches.
    IPtr<HostDocObject> part =
        addCadModel(bench.host.document().doc(), u"RefObject", boxModel({0, 0, 0}, {.12, .08, .01}));
    bench.host.document().doc().setActiveObject(part.get());
    return true;
  }();
  (void)started;
  return bench;
}

// One replay of the log through the command, applied; false when the plane was not made.
bool probeThroughTheCommand(StandinHost& host, const std::string& log) {
  IPtr<RecordingReceiver> finished(new RecordingReceiver);
  host.core().dataStore().addListener(kLogReplayFinished, finished.get());
  CommandRunner runner(&host.gui().commandContainer(), &host.gui().dialog(), &host.scene().view());
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaCreateFeaturesCmd2"));
  host.gui().commandContainer().setArgumentText(kPlanes);
  bool made =
      host.devices().replayer().startReplay(log) &&
      runner.start(command.get()) == CommandRunner::Start::kStarted &&
      host.core().mainLoop().runUntil([&] { return !finished->heard().empty(); }, std::chrono::minutes(10)) &&
      runner.apply();
  host.core().dataStore().removeListener(kLogReplayFinished, finished.get());
  IZelDocObject* target = host.document().doc().findObject(ZelString(u"TestObject"));
  auto* features = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(target));
  made = made && features && features->subObjectCount() == 1;
  if (target) host.document().doc().remove(target);
  return made;
}

void BM_AcquisitionThroughHardProbeFeatures(benchmark::State& state) {
  static double smallestPerTouch = 0.0;  // seconds, of the smallest acquisition's last measurement
  StandinHost& host = startedModule().host;
  ScratchDirectory folder;
  const int64_t touches = state.range(0);
  const std::string log = writeAcquisition(folder, touches);
  double seconds = 0.0;
  for (auto _ : state) {
    const double start = processCpuSeconds();
    const bool made = probeThroughTheCommand(host, log);
    const double round = processCpuSeconds() - start;
    state.SetIterationTime(round);
    seconds += round;
    if (!made) {
      state.SkipWithError("the replay did not make the plane");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * touches);
  const double perTouch = seconds / static_cast<double>(state.iterations() * touches);
  if (touches == kSmallest) smallestPerTouch = perTouch;
  if (smallestPerTouch > 0.0) state.counters["per_touch_x_smallest"] = perTouch / smallestPerTouch;
}
BENCHMARK(BM_AcquisitionThroughHardProbeFeatures)
    ->Arg(kSmallest)
    ->Arg(10 * kSmallest)
    ->Arg(100 * kSmallest)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
