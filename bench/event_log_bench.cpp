// The device-event log at 10^3 to 10^6 move events. Each figure has its peer measured in the same iteration,
// both in this thread's CPU time, so that a busy machine's other work counts for neither:
// - replay without gaps (file to receiver) beside a plain pugixml parse of the same text, with the options
//   the host's DOM parses with: `vs_parse` is the replay's speed over the parse's; `ns_per_event` shows
//   whether the cost per event stays flat with size; `peak_rss_x_file` is the most memory the replay added,
//   over the log's size (`parse_rss_x_file` the parse's);
// - the writer (module records to a file) beside the same text through std::ofstream: `vs_ofstream`.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <pugixml.hpp>

#include "bench_host.h"
#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "host/core/xml_dom.h"
#include "platform/utf8.h"
#include "summing_receiver.h"

namespace {

std::string scratchName(const std::string& what) {
  return (std::filesystem::temp_directory_path() /
          ("palpera-bench-" + what + "-" + std::to_string(getpid()) + ".xml"))
      .string();
}

ZelString modulePath(const std::string& name) {
  ZelString path;
  path.setBuffer(platform::fromUtf8(name).c_str(), -1);
  return path;
}

double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

IPtr<IZelPluginDevicePositionOrientationData> sampleMove() {
  IPtr<IZelPluginDevicePositionOrientationData> move;
  move.createInstance(classIdOf("PluginDevicePositionOrientationData"));
  const double point[3] = {0.1253, -0.0412, 1.5031}, to[3] = {0, 0, -1}, up[3] = {0, 1, 0};
  move->setPoint(point);
  move->setTo(to);
  move->setUp(up);
  return move;
}

void writeLog(const std::string& name, int64_t events, IZelPluginDevicePositionOrientationData* move) {
  IPtr<PluginDeviceDataXMLWriter> writer;
  writer.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
  writer->setOutputFile(modulePath(name));
  const ZelString element(u"OnMoved");
  for (int64_t i = 0; i < events; ++i) writer->writePositionOrientationEvent(element, move);
}

std::string contents(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The logs the replays read, one per size, written once through the module's writer and removed at exit.
class Logs {
 public:
  ~Logs() {
    for (const auto& [events, name] : names_) std::filesystem::remove(name);
  }

  const std::string& of(int64_t events) {
    std::string& name = names_[events];
    if (name.empty()) {
      attachModule();
      name = scratchName("replay-" + std::to_string(events));
      writeLog(name, events, sampleMove().get());
    }
    return name;
  }

 private:
  std::map<int64_t, std::string> names_;
};

Logs& logs() {
  static Logs made;
  return made;
}

// The highest resident memory the call adds to what the process holds before it, in bytes.
template <class Call>
double peakResidentBytes(Call call) {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";  // restarts the high-water mark at the current size
  auto kilobytes = [](const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind(field, 0) == 0) return std::stod(line.substr(line.find(':') + 1));
    }
    return 0.0;
  };
  double before = kilobytes("VmRSS");
  call();
  return (kilobytes("VmHWM") - before) * 1024.0;
}

bool replay(const std::string& log, SummingReceiver& receiver) {
  IPtr<PluginDeviceDataXMLReader> reader;
  reader.createInstance(classIdOf(PluginDeviceDataXMLReader::interfaceName));
  IPtr<PluginDeviceDataXMLReader::Receiver> adapter(
      new PluginDeviceDataXMLReader::Receiver(static_cast<IZelHardProbeContinuousDataReceiver*>(&receiver)));
  reader->setReceiver(adapter.get());
  reader->setPaced(false);
  reader->setFileName(modulePath(log));
  return reader->replay();
}

// The text the replay parses, the records enclosed in one root element, parsed with the host DOM's options.
bool parse(const std::string& text) {
  pugi::xml_document document;
  bool parsed = document.load_buffer(text.data(), text.size(), kXmlDomParseOptions);
  benchmark::DoNotOptimize(document.first_child());
  return parsed;
}

void BM_Replay(benchmark::State& state) {
  const int64_t events = state.range(0);
  const std::string& log = logs().of(events);
  const std::string text = "<HardProbe>" + contents(log) + "</HardProbe>";
  IPtr<SummingReceiver> receiver(new SummingReceiver);
  const double logBytes = static_cast<double>(std::filesystem::file_size(log));
  state.counters["peak_rss_x_file"] = peakResidentBytes([&] { replay(log, *receiver); }) / logBytes;
  state.counters["parse_rss_x_file"] = peakResidentBytes([&] { parse(text); }) / logBytes;
  // The timed runs find the heap as large as a replay needs and keeping what it frees: a run that paid the
  // kernel for fresh pages would pay for the first touch, or for what the other side just gave back, rather
  // than for its work; a parse in a loop of its own pays nothing of that.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, -1);
  replay(log, *receiver);
  double replaySeconds = 0, parseSeconds = 0;
  for (auto _ : state) {
    double start = cpuSeconds();
    if (!replay(log, *receiver)) state.SkipWithError("replay failed");
    double replayed = cpuSeconds() - start;
    state.SetIterationTime(replayed);
    replaySeconds += replayed;
    start = cpuSeconds();
    if (!parse(text)) state.SkipWithError("parse failed");
    parseSeconds += cpuSeconds() - start;
  }
  benchmark::DoNotOptimize(receiver->sum);
  state.SetItemsProcessed(state.iterations() * events);
  state.counters["vs_parse"] = parseSeconds / replaySeconds;
  state.counters["ns_per_event"] = replaySeconds * 1e9 / static_cast<double>(state.iterations() * events);
}

void BM_Write(benchmark::State& state) {
  const int64_t events = state.range(0);
  attachModule();
  auto move = sampleMove();
  const std::string name = scratchName("write");
  writeLog(name, 1, move.get());
  const std::string record = contents(name);
  double writerSeconds = 0, streamSeconds = 0;
  for (auto _ : state) {
    double start = cpuSeconds();
    writeLog(name, events, move.get());
    double written = cpuSeconds() - start;
    state.SetIterationTime(written);
    writerSeconds += written;
    start = cpuSeconds();
    {
      std::ofstream out(name, std::ios::binary | std::ios::trunc);
      for (int64_t i = 0; i < events; ++i)
        out.write(record.data(), static_cast<std::streamsize>(record.size()));
      if (!out) state.SkipWithError("write failed");
    }
    streamSeconds += cpuSeconds() - start;
  }
  std::filesystem::remove(name);
  state.SetItemsProcessed(state.iterations() * events);
  state.counters["vs_ofstream"] = streamSeconds / writerSeconds;
}

BENCHMARK(BM_Replay)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
