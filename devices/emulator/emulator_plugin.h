#pragma once

// The hard-probe emulator ("Hard Probe Emulator"): a device plug-in of the module itself, so the hard-probe
// devices run without hardware. The operator moves the mouse over the reference model ("RefObject") and
// presses keys; the input handler of the run turns that, on the host's main thread, into records in the
// run's queue, and the run delivers them to the device's receiver on the device's worker thread, as a real
// plug-in's acquisition would.
//
// One run at a time: a run of the other face while one is in progress is refused with the custom event
// "Error", so two devices never share one run's state. A run's objects (its parameters, picker, queue and
// input handler) are made on the worker thread and published whole, under the run lock, once complete; the
// main thread takes a counted hold on them for each input, so the worker may end the run at any moment
// without pulling them from under a callback.
//
// Stopping: each face's stop is remembered until that face's run ends, so a stop that comes before the run
// has made its queue, or before the run has even begun, still ends it. A stop that comes after its face's
// run ended by itself (the continuous end key, a missing reference model) is that run's, and does not end
// the next one.

#include <array>
#include <memory>
#include <mutex>
#include <optional>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "devices/plugins/face_stops.h"
#include "devices/plugins/module_plugin.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_doc.h"

struct EmulationRun;
class EmulatorPluginEventManager;

enum class EmulatorFace { kSingle, kContinuous };

template <class Face, EmulatorFace kFace>
using EmulatorPluginFace = StoppablePluginFace<Face, kFace>;

// The noise-free tip centre and the probe axis (from the tip into the surface) of the last pick. Used on
// the main thread only.
struct ProbePose {
  Vector3 tip;
  Vector3 direction;
};

class EmulatorPlugin : public ModulePlugin,
                       public IZelEmulatorPlugin,
                       public EmulatorPluginFace<IZelHardProbePlugin, EmulatorFace::kSingle>,
                       public EmulatorPluginFace<IZelHardProbeContinuousPlugin, EmulatorFace::kContinuous>,
                       public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "EmulatorPlugin";

  class Receiver;
  class Data;
  class OnMovedData;
  class OnPointSampledData;
  class OnPointSampledOrientationData;
  class OnPointStopData;
  class OnCustomEventData;
  class OnStartCaptureData;
  class OnStopCaptureData;
  class IEventHandler;
  class EventHandlerBase;
  class HardProbeEventHandler;
  class HardProbeContinuousEventHandler;

  EmulatorPlugin();
  ~EmulatorPlugin() override;

  const ZelString& getName() override { return name_; }
  bool hasReferenceObject() override;

  // One emulation run on the calling (worker) thread, until the face is stopped. A face that is not
  // connected returns at once and sends nothing.
  void run(IZelHardProbeDataReceiver* receiver) override;
  void run(IZelHardProbeContinuousDataReceiver* receiver) override;

  // The input handler of the run in progress, kept alive (with its run) while the caller holds it; empty
  // when no run is in progress. Main thread.
  std::shared_ptr<IEventHandler> inputHandler();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  friend class EmulatorPluginEventManager;

  // What one call of run may do.
  enum class Claim { kNotConnected, kRefused, kClaimed };

  void stopFace(EmulatorFace face) override;

  template <class Handler, class Target>
  void emulate(EmulatorFace face, bool connected, Target* receiver);
  template <class Handler>
  void emulateClaimed(EmulatorFace face, Receiver& adapter);
  Claim claimRun(EmulatorFace face, bool connected);
  void publish(EmulatorFace face, const std::shared_ptr<EmulationRun>& run);
  void releaseRun(EmulatorFace face, Claim claim);
  FaceStops& stopsOf(EmulatorFace face) { return stops_[static_cast<size_t>(face)]; }

  const ZelString name_;
  ProbePose pose_;  // main thread only
  // The event manager that feeds the runs from the view while a device holds it, not counted: it sets and
  // clears this itself. Main thread only.
  EmulatorPluginEventManager* viewHook_ = nullptr;

  std::mutex runLock_;
  std::optional<EmulatorFace> activeFace_;  // guarded by runLock_
  std::shared_ptr<EmulationRun> run_;       // guarded by runLock_; published once complete
  std::array<FaceStops, 2> stops_;          // guarded by runLock_
};

// The document's reference model ("RefObject"), or empty when there is none or no document.
IPtr<IZelDocObject> findReferenceObject();
