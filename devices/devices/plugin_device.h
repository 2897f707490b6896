#pragma once

// PluginDevice<Kind>: the road every device object shares; the continuous and single-point hard probes and
// the laser scanner are its three kinds, which differ only in names, receivers, event handlers, the plug-in
// face and the callback (hard_probe_continuous_device.h, hard_probe_device.h, laser_scan_device.h).
//
// A command connects the device (the kind's manager's active plug-in, retried for as long as it fails and the
// user asks to), registers receivers, and starts acquisition: the device subscribes its event handlers and
// starts a worker thread that runs the plug-in's blocking run with the kind's callback. Every event then
// reaches the receivers on the host's main thread, in part coordinates (device_callback.h). Stopping tells
// the plug-in to stop, waits for the worker without a time limit, delivers the events it posted before it
// ended, and then drops the handlers. The receiver set outlives acquisitions.
//
// A device runs one acquisition at a time: starting again stops the running one first, so no event is ever
// delivered twice, and a start that fails leaves the device idle. A receiver may start, stop or change the
// receivers of its device from inside a call; a start made while a stop delivers the last events keeps its
// own handlers. Destroying a device stops an acquisition that still runs, so a worker is never left blocked
// in the plug-in.
//
// While the host records its log, each acquisition is recorded there with the name of a new event file, and
// the acquisition writes its raw events into that file whatever "Palpera/Logging" says: the record promises
// the file, and a recorded session whose device data is missing could never be replayed.
//
// Main thread only, apart from the worker thread's run and the callback.
//
// Kind provides: Face and Receiver (the plug-in face and the receiver interface of the kind), Callback (the
// kind's DeviceCallback), EmulatorLink (EmulatorInputLink or NoEmulatorInput), kClassName, kEventGroup and
// kEventNames (registered when the device is made), manager() (the kind's plug-in manager, or null) and
// makeHandlers(receivers).

#include <memory>
#include <new>

#include "basic_types/zel_string.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/events/device_event_handlers.h"
#include "devices/events/device_event_names.h"
#include "devices/events/device_receivers.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/threads/zel_thread_class.h"
#include "host_api/gui_simple_dialog.h"
#include "host_api/main_application.h"

template <class Kind>
class PluginDevice : public IZelPluginDevice, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = Kind::kClassName;
  using Face = typename Kind::Face;
  using Receiver = typename Kind::Receiver;

  // One acquisition's worker thread. It holds the plug-in for as long as it exists, and makes the callback
  // on the worker thread, so the callback's timing starts there.
  class AcquisitionThread : public ZelThreadClass {
   public:
    AcquisitionThread(IZelPlugin* plugin, IZelHardProbeEventQueue* queue, ZelString logFile)
        : plugin_(plugin), queue_(queue), logFile_(std::move(logFile)) {}

    IZelPlugin* plugin() const { return plugin_.get(); }

    void run() override {
      try {
        acquire();
      } catch (const std::bad_alloc&) {
        reportOutOfMemory();
      }
    }

   private:
    void acquire() {
      callback_ = IPtr<typename Kind::Callback>(new typename Kind::Callback);
      // Taken once: a new alignment takes effect at the next start.
      Matrix4x4 deviceMatrix;
      plugin_->deviceMatrix(deviceMatrix);
      callback_->setDeviceMatrix(deviceMatrix);
      callback_->setEventQueue(queue_);
      if (!logFile_.isEmpty()) callback_->startLog(logFile_);
      Face* face = queryPart<Face>(plugin_.get());
      auto* receiver = queryPart<Receiver>(callback_.get());
      if (face && receiver) face->run(receiver);
    }

    // Memory ran out in the plug-in or the callback: the receivers hear "Error", as for any acquisition that
    // ends in failure. When even that cannot be allocated, the thread ends rather than the process.
    void reportOutOfMemory() noexcept {
      try {
        if (auto* receiver = queryPart<Receiver>(callback_.get()))
          receiver->onCustomEvent(ZelCString("Error"), nullptr);
      } catch (const std::bad_alloc&) {
      }
    }

    IPtr<typename Kind::Callback> callback_;  // the worker's, until the thread object goes
    const IPtr<IZelPlugin> plugin_;
    IZelHardProbeEventQueue* const queue_;  // the move handler's, which outlives the thread
    const ZelString logFile_;               // empty: no log
  };

  PluginDevice() { registerDeviceEventNames(Kind::kEventGroup, Kind::kEventNames); }
  PluginDevice(const PluginDevice&) = delete;
  PluginDevice& operator=(const PluginDevice&) = delete;
  ~PluginDevice() override { stopAcquisition(); }

  bool connect() override {
    IZelPluginManager* manager = Kind::manager();
    if (!manager) return false;
    if (connected_) return connectFace(*manager);
    manager->beginReplay();
    connected_ = connectFace(*manager);
    if (!connected_) manager->endReplay();
    return connected_;
  }

  bool disconnect() override {
    stopAcquisition();
    IZelPluginManager* manager = Kind::manager();
    if (!manager) return false;
    Face* face = queryPart<Face>(manager->activePlugin());
    const bool disconnected = face && (!face->isConnected() || face->disconnect());
    if (connected_) manager->endReplay();
    connected_ = false;
    return disconnected;
  }

  bool startAcquisition() override {
    // Two acquisitions would each subscribe handlers and deliver every event twice.
    stopAcquisition();
    IZelPluginManager* manager = Kind::manager();
    if (!manager) return false;
    IZelPlugin* plugin = manager->activePlugin();
    Face* face = queryPart<Face>(plugin);
    if (!face || !face->isConnected()) return false;
    retiring_ = {};
    handlers_ = Kind::makeHandlers(&receivers_);
    Matrix4x4 deviceMatrix;
    plugin->deviceMatrix(deviceMatrix);
    ZelString logFile;
    manager->recordLog(deviceMatrix, logFile);
    manager->advanceReplay();
    emulator_.attach(plugin);
    thread_ = std::make_unique<AcquisitionThread>(plugin, handlers_.queue, std::move(logFile));
    if (thread_->start()) return true;
    thread_.reset();
    handlers_ = {};
    emulator_.release();
    return false;
  }

  void stopAcquisition() override {
    emulator_.release();
    if (!thread_) return;
    if (Face* face = queryPart<Face>(thread_->plugin())) face->stop();
    thread_->wait();
    thread_.reset();
    // Set aside, still subscribed, so the events the worker posted before it ended reach the receivers; a
    // receiver that starts a new acquisition meanwhile drops them in favour of its own.
    retiring_ = std::move(handlers_);
    handlers_ = {};
    SPtr<IEventService> events;
    if (events) events->processEvents(false);
    retiring_ = {};
  }

  void addReceiver(IZelPluginDataReceiver* receiver) override { receivers_.add(receiver); }
  void removeReceiver(IZelPluginDataReceiver* receiver) override { receivers_.remove(receiver); }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
        .template offer<IZelPluginDevice>(this)
        .end();
  }
  const char* className() override { return interfaceName; }

 private:
  static bool connectFace(IZelPluginManager& manager) {
    Face* face = queryPart<Face>(manager.activePlugin());
    if (!face || !face->isAvailable()) return false;
    return face->isConnected() || connectWithRetry(*face);
  }

  // The plug-in's own error text is what the user sees; each retry asks the plug-in again.
  static bool connectWithRetry(Face& face) {
    for (;;) {
      ZelString error;
      if (face.connect(error)) return true;
      SPtr<IGuiSimpleDlg> dialog;
      if (!dialog) return false;
      const int32_t answer =
          dialog->show(IGuiSimpleDlg::kQuestionStyle, error, ZelString(u" "), false, false, false);
      if (answer != IGuiSimpleDlg::kAnswerYes) return false;
    }
  }

  // Since the last successful connect, not followed by a disconnect. A replay of the host's log lends the
  // device its plug-in from the connect that makes the device connected to the disconnect that ends it, so
  // connecting again while connected must not take it a second time.
  bool connected_ = false;
  std::unique_ptr<AcquisitionThread> thread_;  // null while idle
  DeviceReceivers<Receiver> receivers_;
  DeviceEventHandlers handlers_;  // subscribed while acquiring
  DeviceEventHandlers retiring_;  // a stopped acquisition's, while its last events are delivered
  typename Kind::EmulatorLink emulator_;
};
