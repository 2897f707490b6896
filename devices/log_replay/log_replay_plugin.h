#pragma once

// LogReplayPlugin: the module's own device plug-in that plays a recorded device-event log back into a
// device's receiver, as though a probe or a scanner produced the events. One object serves all three device
// kinds (single-point, continuous, laser scan). The host-log record handler gives it the file to play and may
// cancel a replay; every run ends by posting "Palpera/LogReplayFinished" exactly once, whether the log was
// played, cancelled or could not be played.
//
// A replay runs with the device transform that was recorded with the session, as it was recorded: the
// recorded matrix already holds the object, hardware and scale alignments of the recording, so none of the
// present ones is applied on top of it. It is held by the plug-in alone and never reaches the hardware
// alignment service, so a replay does not change the user's stored alignment by itself. The hardware matrix
// the plug-in reports meanwhile is the one the frame rule gives within it (PluginTransform::hardwareWithin),
// so that object x hardware x scale is what the replay delivers.
//
// A command's new hardware matrix (an alignment made from the replayed touches, or one given back) is an
// alignment as a live device's: it goes to the hardware alignment service, which stores it, and the
// recorded transform gives way to the transform built from the services, as the emulator's is. From then on
// the command sets the transform its acquisitions run with, as it did when the session was recorded: the
// transforms recorded with them, which hold what it set then without the object matrix it set aside, are
// passed over for as long as the plug-in lives (a command's connection). The new matrix outlives the
// plug-in, so the commands that follow measure in it until an acquisition brings a recorded transform of
// its own. Until a matrix is recorded, the plug-in's transform is built as the emulator's.
//
// A run that cannot play its file keeps the reason, with the file's path, for the main thread to show.
//
// Threads: run blocks on the device's worker thread and calls the receiver there; stop, cancel, setFileName,
// setRecordedTransform and setHardwareMatrix come from the main thread. The plug-in's lock guards the current
// reader, the file name, the recorded matrix and the failure, and is taken before a reader's own; it is never
// held while a receiver or a host service is called.

#include <array>
#include <optional>
#include <string>

#include "basic_types/zel_string.h"
#include "devices/event_log/plugin_device_data_xml_reader.h"
#include "devices/plugins/face_stops.h"
#include "devices/plugins/module_plugin.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "platform/critical_section.h"

// Posted when a replay run ends.
inline constexpr const char* kLogReplayFinished = "Palpera/LogReplayFinished";

enum class ReplayFace { kSingle, kContinuous, kLaserScan };

class LogReplayPlugin : public ModulePlugin,
                        public StoppablePluginFace<IZelHardProbePlugin, ReplayFace::kSingle>,
                        public StoppablePluginFace<IZelHardProbeContinuousPlugin, ReplayFace::kContinuous>,
                        public StoppablePluginFace<IZelLaserScanPlugin, ReplayFace::kLaserScan>,
                        public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "LogReplayPlugin";

  LogReplayPlugin();
  LogReplayPlugin(const LogReplayPlugin&) = delete;
  LogReplayPlugin& operator=(const LogReplayPlugin&) = delete;
  ~LogReplayPlugin() override;

  // Empty: the managers take a plug-in without a name for a real device.
  const ZelString& getName() override;

  // The device transform the host log recorded (already checked by the log's reader), held by the plug-in
  // alone; once set, it is the device matrix too, unless a command has set the hardware matrix.
  void setRecordedTransform(const Matrix4x4& matrix);
  // A command's new hardware matrix goes to the hardware alignment service and takes the recorded
  // transform's place, when it is a rotation and a shift (acceptRigidTransform); any other is refused with a
  // word and the transform stays as it was.
  void setHardwareMatrix(const Matrix4x4& matrix) override;
  // Main thread: the reference stays valid until the next call.
  const Matrix4x4& hardwareMatrix() override;
  Matrix4x4& deviceMatrix(Matrix4x4& out) override;

  void run(IZelHardProbeDataReceiver* receiver) override { replay(receiver); }
  void run(IZelHardProbeContinuousDataReceiver* receiver) override { replay(receiver); }
  void run(IZelLaserScanDataReceiver* receiver) override { replay(receiver); }

  // The runs of the three faces. True when the log was played to its end or cancelled; false, after the
  // custom event "Error" to the receiver, when the face is not connected, no file is set, or the log cannot
  // be played.
  bool replay(IZelHardProbeDataReceiver* receiver);
  bool replay(IZelHardProbeContinuousDataReceiver* receiver);
  bool replay(IZelLaserScanDataReceiver* receiver);

  // The event file the next run plays.
  void setFileName(const ZelString& fileName);
  // The next run has no event file to play, for this reason ("the replay of the host log ... ended"), which
  // its failure then gives.
  void setNoData(const std::u16string& reason);
  ZelString fileName();
  // Ends the running replays (their receivers get the custom event "Cancel"); nothing while none runs.
  void cancel();
  // Whether a run of any face is under way.
  bool isRunning();
  // Why the latest run that failed could not play its file, or which of its records a run that played could
  // not deliver, with the file's path; empty when there was nothing to tell since the last call.
  ZelString takeFailure();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  using Receiver = PluginDeviceDataXMLReader::Receiver;

  // A device stopping its acquisition ends the face's replay at once, rather than wait out the rest of the
  // log; a stop that comes before the worker has begun the run still ends it.
  void stopFace(ReplayFace face) override;

  bool play(ReplayFace face, Receiver* receiver, bool connected);
  // Plays the file into the receiver; answers why it could not, or the empty text.
  std::u16string playFile(ReplayFace face, Receiver* receiver, const ZelString& file);
  void beginRun(ReplayFace face);
  void endRun(ReplayFace face);
  // Makes the reader the one a stop or cancel reaches, or lets go of it.
  void install(ReplayFace face, IPtr<PluginDeviceDataXMLReader> reader);
  // The face's run and what stops it; guarded by lock_.
  struct FaceRun {
    bool running = false;
    IPtr<PluginDeviceDataXMLReader> reader;  // set only while the run replays
    FaceStops stops;
  };
  FaceRun& runOf(ReplayFace face) { return runs_[static_cast<size_t>(face)]; }
  // The recorded transform in force, if any.
  std::optional<Matrix4x4> recordedTransform();
  // Keeps what the user is to be told of the latest run, unless it is empty; takeFailure hands it over.
  void keep(std::u16string told);
  // The receiver gets the custom event "Error"; the run ends, keeping the reason.
  bool fail(Receiver* receiver, const ZelString& file, const std::u16string& reason);

  platform::CriticalSection lock_;
  std::array<FaceRun, 3> runs_;                 // guarded by lock_
  std::u16string fileName_;                     // guarded by lock_
  std::u16string noData_;                       // guarded by lock_; why fileName_ is empty, if known
  std::optional<Matrix4x4> recordedTransform_;  // guarded by lock_
  bool commandSetsTransform_ = false;           // guarded by lock_: a command has set the hardware matrix
  Matrix4x4 reportedHardware_;                  // main thread only: what hardwareMatrix last answered
  std::u16string failure_;                      // guarded by lock_; what the user is told of the latest run
};
