#include "devices/log_replay/log_replay_plugin.h"

#include <mutex>
#include <new>
#include <string>

#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "host/api/main_application.h"

namespace {

const ClassRegistration<LogReplayPlugin> registration(registeredClass("LogReplayPlugin"));

void postFinished() {
  SPtr<IMainApplication> application;
  if (application) application->postName(kLogReplayFinished);
}

}  // namespace

LogReplayPlugin::LogReplayPlugin() = default;
LogReplayPlugin::~LogReplayPlugin() = default;

const ZelString& LogReplayPlugin::getName() {
  return emptyZelString();
}

bool LogReplayPlugin::replay(IZelHardProbeDataReceiver* receiver) {
  IPtr<Receiver> adapter(new Receiver(receiver));
  return play(ReplayFace::kSingle, adapter.get(), static_cast<IZelHardProbePlugin*>(this)->isConnected());
}

bool LogReplayPlugin::replay(IZelHardProbeContinuousDataReceiver* receiver) {
  IPtr<Receiver> adapter(new Receiver(receiver));
  return play(ReplayFace::kContinuous, adapter.get(),
              static_cast<IZelHardProbeContinuousPlugin*>(this)->isConnected());
}

bool LogReplayPlugin::replay(IZelLaserScanDataReceiver* receiver) {
  IPtr<Receiver> adapter(new Receiver(receiver));
  return play(ReplayFace::kLaserScan, adapter.get(), static_cast<IZelLaserScanPlugin*>(this)->isConnected());
}

bool LogReplayPlugin::play(ReplayFace face, Receiver* receiver, bool connected) {
  beginRun(face);
  bool played = false;
  // Memory running out ends the run with "Error", never the device's worker thread.
  try {
    played = connected && playFile(face, receiver);
  } catch (const std::bad_alloc&) {
    install(face, {});
  }
  endRun(face);
  if (!played) return fail(receiver);
  postFinished();
  return true;
}

bool LogReplayPlugin::playFile(ReplayFace face, Receiver* receiver) {
  IPtr<PluginDeviceDataXMLReader> reader = makeReader(receiver);
  if (!reader) return false;
  install(face, reader);
  const bool played = reader->replay();
  install(face, {});
  return played;
}

IPtr<PluginDeviceDataXMLReader> LogReplayPlugin::makeReader(Receiver* receiver) {
  ZelString file = fileName();
  if (file.isEmpty()) return {};
  IPtr<PluginDeviceDataXMLReader> reader;
  reader.createInstance(classIdOf(PluginDeviceDataXMLReader::interfaceName));
  if (!reader) return {};
  reader->setReceiver(receiver);
  reader->setFileName(file);
  return reader;
}

void LogReplayPlugin::beginRun(ReplayFace face) {
  std::lock_guard lock(lock_);
  FaceRun& run = runOf(face);
  run.running = true;
  run.stops.runBegins();
}

void LogReplayPlugin::endRun(ReplayFace face) {
  std::lock_guard lock(lock_);
  FaceRun& run = runOf(face);
  run.running = false;
  run.stops.runEnds();
}

void LogReplayPlugin::install(ReplayFace face, IPtr<PluginDeviceDataXMLReader> reader) {
  // References are taken and given up outside the lock: counting goes through the host.
  std::lock_guard lock(lock_);
  FaceRun& run = runOf(face);
  std::swap(run.reader, reader);
  if (run.reader && run.stops.requested()) run.reader->cancel();
}

void LogReplayPlugin::stopFace(ReplayFace face) {
  std::lock_guard lock(lock_);
  FaceRun& run = runOf(face);
  run.stops.stopArrives(run.running);
  if (run.running && run.reader) run.reader->cancel();
}

bool LogReplayPlugin::fail(Receiver* receiver) {
  receiver->onCustomEvent(ZelCString("Error"), nullptr);
  postFinished();
  return false;
}

void LogReplayPlugin::setFileName(const ZelString& fileName) {
  std::u16string copy(fileName.c_str());
  std::lock_guard lock(lock_);
  fileName_.swap(copy);
}

ZelString LogReplayPlugin::fileName() {
  std::u16string copy;
  {
    std::lock_guard lock(lock_);
    copy = fileName_;
  }
  ZelString name;
  name.setBuffer(copy.c_str(), -1);
  return name;
}

void LogReplayPlugin::cancel() {
  // The lock keeps the readers alive while their cancel flags are raised; raising one calls nobody.
  std::lock_guard lock(lock_);
  for (FaceRun& run : runs_) {
    if (run.reader) run.reader->cancel();
  }
}

void LogReplayPlugin::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelPlugin>(this)
      .offer<IZelHardProbePlugin>(this)
      .offer<IZelHardProbeContinuousPlugin>(this)
      .offer<IZelLaserScanPlugin>(this)
      .end();
}
