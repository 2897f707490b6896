// The device-event log: writing 10^5 move events to a file through the writer, and reading and replaying a
// 10^5-event log without its gaps, in events per second; beside them, the peer: a plain pugixml parse of the
// same log (alone, and with every record's numbers read), as the replay's floor.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <pugixml.hpp>

#include "bench_host.h"
#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "platform/utf8.h"
#include "summing_receiver.h"

namespace {

constexpr int64_t kEvents = 100000;

std::string scratchName(const char* what) {
  return (std::filesystem::temp_directory_path() /
          ("palpera-bench-" + std::string(what) + "-" + std::to_string(getpid()) + ".xml"))
      .string();
}

ZelString modulePath(const std::string& name) {
  ZelString path;
  path.setBuffer(platform::fromUtf8(name).c_str(), -1);
  return path;
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

void writeLog(const std::string& name, IZelPluginDevicePositionOrientationData* move) {
  IPtr<PluginDeviceDataXMLWriter> writer;
  writer.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
  writer->setOutputFile(modulePath(name));
  const ZelString element(u"OnMoved");
  for (int64_t i = 0; i < kEvents; ++i) writer->writePositionOrientationEvent(element, move);
}

const std::string& sharedLog();

std::string writeSharedLog() {
  attachModule();
  std::string made = scratchName("replay");
  writeLog(made, sampleMove().get());
  std::atexit([] { std::filesystem::remove(sharedLog()); });
  return made;
}

// The log every reading benchmark reads, written once; its name outlives the exit handler that removes it.
const std::string& sharedLog() {
  static NoDestructor<std::string> name(writeSharedLog());
  return *name;
}

void BM_WriteEvents(benchmark::State& state) {
  attachModule();
  auto move = sampleMove();
  std::string name = scratchName("write");
  for (auto _ : state) writeLog(name, move.get());
  std::filesystem::remove(name);
  state.SetItemsProcessed(state.iterations() * kEvents);
}

void BM_ReplayEvents(benchmark::State& state) {
  const std::string& log = sharedLog();
  IPtr<SummingReceiver> receiver(new SummingReceiver);
  for (auto _ : state) {
    IPtr<PluginDeviceDataXMLReader> reader;
    reader.createInstance(classIdOf(PluginDeviceDataXMLReader::interfaceName));
    IPtr<PluginDeviceDataXMLReader::Receiver> adapter(new PluginDeviceDataXMLReader::Receiver(
        static_cast<IZelHardProbeContinuousDataReceiver*>(receiver.get())));
    reader->setReceiver(adapter.get());
    reader->setPaced(false);
    reader->setFileName(modulePath(log));
    if (!reader->replay()) state.SkipWithError("replay failed");
  }
  benchmark::DoNotOptimize(receiver->sum);
  state.SetItemsProcessed(state.iterations() * kEvents);
}

std::string enclosedLog() {
  std::ifstream in(sharedLog(), std::ios::binary);
  return "<HardProbe>" + std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) +
         "</HardProbe>";
}

void BM_PugixmlParse(benchmark::State& state) {
  const std::string text = enclosedLog();
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size())) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(document.first_child());
  }
  state.SetItemsProcessed(state.iterations() * kEvents);
}

void BM_PugixmlParseAndRead(benchmark::State& state) {
  const std::string text = enclosedLog();
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size())) state.SkipWithError("parse failed");
    double sum = 0;
    for (pugi::xml_node record : document.first_child().children()) {
      sum += record.attribute("time").as_double();
      for (pugi::xml_node vector : record.children()) {
        for (pugi::xml_node axis : vector.children()) sum += axis.text().as_double();
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kEvents);
}

BENCHMARK(BM_WriteEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlParseAndRead)->Unit(benchmark::kMillisecond);

}  // namespace
