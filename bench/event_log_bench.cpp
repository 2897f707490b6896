// The device-event log at 10^3 to 10^6 move events. Each figure has its peer measured in the same iteration,
// both in this thread's CPU time, so that a busy machine's other work counts for neither:
// - replay without gaps (file to receiver) beside a plain pugixml parse of the same text, with the options
//   the host's DOM parses with: `vs_parse` is the replay's speed over the parse's; `ns_per_event` shows
//   whether the cost per event stays flat with size; `peak_rss_x_file` is the most memory the replay added,
//   over the log's size (`parse_rss_x_file` the parse's);
// - the writer (module records to a file) beside a hand-written writer doing the same work without the DOM:
//   stamping each record from a clock, formatting its numbers and text, and writing it through std::ofstream
//   (`vs_ofstream`). Its numbers go through snprintf; `vs_ofstream_to_chars` is the same beside
//   std::to_chars, the fastest standard way to the same text. All write the same bytes, checked on a
//   one-record log before the timing.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
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

// Writes the text of the C format "%f" (or "%e" above 1e10) of value at out, returning its end.
using NumberFormat = char* (*)(char* out, double value);

char* printed(char* out, double value) {
  return out + std::snprintf(out, 400, std::fabs(value) > 1e10 ? "%e" : "%f", value);
}

char* converted(char* out, double value) {
  const auto form = std::fabs(value) > 1e10 ? std::chars_format::scientific : std::chars_format::fixed;
  return std::to_chars(out, out + 400, value, form, 6).ptr;
}

// The writer's records of moves as a program would write them by hand: the time since the previous record in
// whole milliseconds cut from the cumulative count, numbers in the C format, and std::ofstream.
class HandWrittenLog {
 public:
  HandWrittenLog(const std::string& name, NumberFormat format)
      : out_(name, std::ios::binary | std::ios::trunc), format_(format) {}

  bool good() const { return bool(out_); }

  void writeMove(const char* element, const double* point, const double* to, const double* up) {
    record_.clear();
    record_ += '<';
    record_ += element;
    record_ += " time=\"";
    record_ += std::to_string(stamp());
    record_ += "\">";
    addVector("Point", point);
    addVector("To", to);
    addVector("Up", up);
    record_ += "</";
    record_ += element;
    record_ += '>';
    out_.write(record_.data(), static_cast<std::streamsize>(record_.size()));
  }

 private:
  uint32_t stamp() {
    const auto now = std::chrono::steady_clock::now();
    if (!started_) {
      started_ = true;
      start_ = now;
    }
    const auto cumulative =
        static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now - start_).count());
    const uint32_t gap = cumulative - lastMillis_;
    lastMillis_ = cumulative;
    return gap;
  }

  void addVector(const char* name, const double* xyz) {
    const char* axes[] = {"X", "Y", "Z"};
    record_ += '<';
    record_ += name;
    record_ += '>';
    for (int i = 0; i < 3; ++i) {
      char number[400];
      const char* end = format_(number, xyz[i]);
      record_ += '<';
      record_ += axes[i];
      record_ += '>';
      record_.append(number, static_cast<size_t>(end - number));
      record_ += "</";
      record_ += axes[i];
      record_ += '>';
    }
    record_ += "</";
    record_ += name;
    record_ += '>';
  }

  std::ofstream out_;
  NumberFormat format_;
  std::string record_;
  bool started_ = false;
  std::chrono::steady_clock::time_point start_;
  uint32_t lastMillis_ = 0;
};

bool writeByHand(const std::string& name, int64_t events, IZelPluginDevicePositionOrientationData* move,
                 NumberFormat format) {
  HandWrittenLog log(name, format);
  for (int64_t i = 0; i < events; ++i) log.writeMove("OnMoved", move->point(), move->to(), move->up());
  return log.good();
}

void BM_Write(benchmark::State& state) {
  const int64_t events = state.range(0);
  attachModule();
  auto move = sampleMove();
  const std::string name = scratchName("write");
  writeLog(name, 1, move.get());
  const std::string record = contents(name);
  for (NumberFormat format : {printed, converted}) {
    writeByHand(name, 1, move.get(), format);
    if (contents(name) != record) state.SkipWithError("the hand-written record differs from the writer's");
  }
  double writerSeconds = 0, printedSeconds = 0, convertedSeconds = 0;
  auto timed = [&](double& seconds, auto write) {
    const double start = cpuSeconds();
    if (!write()) state.SkipWithError("write failed");
    const double taken = cpuSeconds() - start;
    seconds += taken;
    return taken;
  };
  for (auto _ : state) {
    state.SetIterationTime(timed(writerSeconds, [&] {
      writeLog(name, events, move.get());
      return true;
    }));
    timed(printedSeconds, [&] { return writeByHand(name, events, move.get(), printed); });
    timed(convertedSeconds, [&] { return writeByHand(name, events, move.get(), converted); });
  }
  std::filesystem::remove(name);
  state.SetItemsProcessed(state.iterations() * events);
  state.counters["vs_ofstream"] = printedSeconds / writerSeconds;
  state.counters["vs_ofstream_to_chars"] = convertedSeconds / writerSeconds;
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
