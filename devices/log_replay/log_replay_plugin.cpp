#include "devices/log_replay/log_replay_plugin.h"

#include <mutex>
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
  return play(adapter.get(), static_cast<IZelHardProbePlugin*>(this)->isConnected());
}

bool LogReplayPlugin::replay(IZelHardProbeContinuousDataReceiver* receiver) {
  IPtr<Receiver> adapter(new Receiver(receiver));
  return play(adapter.get(), static_cast<IZelHardProbeContinuousPlugin*>(this)->isConnected());
}

bool LogReplayPlugin::replay(IZelLaserScanDataReceiver* receiver) {
  IPtr<Receiver> adapter(new Receiver(receiver));
  return play(adapter.get(), static_cast<IZelLaserScanPlugin*>(this)->isConnected());
}

bool LogReplayPlugin::play(Receiver* receiver, bool connected) {
  if (!connected) return fail(receiver);
  IPtr<PluginDeviceDataXMLReader> reader = makeReader(receiver);
  if (!reader) return fail(receiver);
  install(reader);
  bool played = reader->replay();
  uninstall(reader.get());
  if (!played) return fail(receiver);
  postFinished();
  return true;
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

void LogReplayPlugin::install(const IPtr<PluginDeviceDataXMLReader>& reader) {
  // References are taken and given up outside the lock: counting goes through the host.
  IPtr<PluginDeviceDataXMLReader> current = reader;
  {
    std::lock_guard lock(lock_);
    std::swap(current, reader_);
  }
}

void LogReplayPlugin::uninstall(const PluginDeviceDataXMLReader* reader) {
  IPtr<PluginDeviceDataXMLReader> done;
  {
    std::lock_guard lock(lock_);
    if (reader_.get() == reader) std::swap(done, reader_);
  }
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
  // The lock keeps the reader alive while its cancel flag is raised; raising it calls nobody.
  std::lock_guard lock(lock_);
  if (reader_) reader_->cancel();
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
