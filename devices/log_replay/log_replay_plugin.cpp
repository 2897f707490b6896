#include "devices/log_replay/log_replay_plugin.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <string>

#include "devices/alignment/rigid_transform_rule.h"
#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "host_api/host_log.h"
#include "host_api/log_replayer_reports.h"
#include "host_api/main_application.h"

namespace {

const ClassRegistration<LogReplayPlugin> registration(registeredClass("LogReplayPlugin"));

void postFinished() {
  SPtr<IMainApplication> application;
  if (application) application->postName(kLogReplayFinished);
}

constexpr const char16_t* kNotConnected = u"the device is not connected";
constexpr const char16_t* kNoData = u"no device data was recorded for this acquisition";
constexpr const char16_t* kNoReader = u"the host cannot make a device-event log reader";
constexpr const char16_t* kUnplayable = u"it cannot be played";
constexpr const char16_t* kOutOfMemory = u"it does not fit in memory";

std::u16string failureText(const ZelString& file, const std::u16string& reason) {
  if (file.isEmpty()) return std::u16string(u"Cannot replay the acquisition: ") + reason + u".";
  return std::u16string(u"Cannot replay the device-event file '") + file.c_str() + u"': " + reason + u".";
}

// What the user is told of a file that played with records it could not deliver; empty when there were none.
std::u16string undeliveredText(const ZelString& file, const PluginDeviceDataXMLReader& reader) {
  if (reader.undelivered() == 0) return {};
  const std::string count = std::to_string(reader.undelivered());
  return std::u16string(u"The device-event file '") + file.c_str() + u"' was replayed without " +
         std::u16string(count.begin(), count.end()) +
         (reader.undelivered() == 1 ? u" record that could not be read: "
                                    : u" records that could not be read, the first ") +
         reader.firstUndelivered().c_str() + u".";
}

ZelString ownedText(const std::u16string& text) {
  ZelString owned;
  owned.setBuffer(text.c_str(), -1);
  return owned;
}

// The host's replayer hears of each acquisition that could not be played: the replay then fails whatever
// errors its log says the recording showed, which a recording whose own device failed shows in these words.
void tellReplayer(const std::u16string& why) {
  SPtr<ILogReplayer> replayer;
  if (!replayer) return;
  void* reports = nullptr;
  replayer->queryInterface(ILogReplayerReports::interfaceName, &reports, false);
  if (reports) static_cast<ILogReplayerReports*>(reports)->reportUnplayedAcquisition(ownedText(why));
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
  const ZelString file = fileName();
  beginRun(face);
  std::u16string failure = kNotConnected;
  // Memory running out ends the run with "Error", never the device's worker thread.
  try {
    if (connected) failure = playFile(face, receiver, file);
  } catch (const std::bad_alloc&) {
    install(face, {});
    failure = kOutOfMemory;
  }
  endRun(face);
  if (!failure.empty()) return fail(receiver, file, failure);
  postFinished();
  return true;
}

std::u16string LogReplayPlugin::playFile(ReplayFace face, Receiver* receiver, const ZelString& file) {
  if (file.isEmpty()) {
    std::lock_guard lock(lock_);
    return noData_.empty() ? kNoData : noData_;
  }
  IPtr<PluginDeviceDataXMLReader> reader;
  reader.createInstance(classIdOf(PluginDeviceDataXMLReader::interfaceName));
  if (!reader) return kNoReader;
  reader->setReceiver(receiver);
  reader->setFileName(file);
  install(face, reader);
  const bool played = reader->replay();
  install(face, {});
  if (played) {
    keep(undeliveredText(file, *reader));
    return {};
  }
  return reader->failure().isEmpty() ? kUnplayable : reader->failure().c_str();
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

void LogReplayPlugin::keep(std::u16string told) {
  if (told.empty()) return;
  std::lock_guard lock(lock_);
  failure_.swap(told);
}

bool LogReplayPlugin::fail(Receiver* receiver, const ZelString& file, const std::u16string& reason) {
  tellReplayer(failureText(file, reason));
  keep(failureText(file, reason));
  receiver->onCustomEvent(ZelCString("Error"), nullptr);
  postFinished();
  return false;
}

ZelString LogReplayPlugin::takeFailure() {
  std::u16string failure;
  {
    std::lock_guard lock(lock_);
    failure.swap(failure_);
  }
  return ownedText(failure);
}

bool LogReplayPlugin::isRunning() {
  std::lock_guard lock(lock_);
  return std::any_of(runs_.begin(), runs_.end(), [](const FaceRun& run) { return run.running; });
}

void LogReplayPlugin::setRecordedTransform(const Matrix4x4& matrix) {
  std::lock_guard lock(lock_);
  if (!commandSetsTransform_) recordedTransform_ = matrix;
}

std::optional<Matrix4x4> LogReplayPlugin::recordedTransform() {
  std::lock_guard lock(lock_);
  return recordedTransform_;
}

void LogReplayPlugin::setHardwareMatrix(const Matrix4x4& matrix) {
  if (!acceptHardwareMatrix(matrix)) return;
  ModulePlugin::setHardwareMatrix(matrix);
  std::lock_guard lock(lock_);
  recordedTransform_.reset();
  commandSetsTransform_ = true;
}

const Matrix4x4& LogReplayPlugin::hardwareMatrix() {
  const std::optional<Matrix4x4> recorded = recordedTransform();
  if (!recorded) return ModulePlugin::hardwareMatrix();
  reportedHardware_ = PluginTransform::hardwareWithin(*recorded);
  return reportedHardware_;
}

Matrix4x4& LogReplayPlugin::deviceMatrix(Matrix4x4& out) {
  if (const std::optional<Matrix4x4> recorded = recordedTransform()) {
    out = *recorded;
    return out;
  }
  return ModulePlugin::deviceMatrix(out);
}

void LogReplayPlugin::setFileName(const ZelString& fileName) {
  std::u16string copy(fileName.c_str());
  std::lock_guard lock(lock_);
  fileName_.swap(copy);
  noData_.clear();
}

void LogReplayPlugin::setNoData(const std::u16string& reason) {
  std::u16string copy(reason);
  std::lock_guard lock(lock_);
  fileName_.clear();
  noData_.swap(copy);
}

ZelString LogReplayPlugin::fileName() {
  std::u16string copy;
  {
    std::lock_guard lock(lock_);
    copy = fileName_;
  }
  return ownedText(copy);
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
