#pragma once

// The stand-in host's logger (the service "IGuiLogger"): while recording, it appends the records it is given
// to one log file in the format of host_log_format.md, each flushed at once so that a reader (or a crash)
// finds every record written so far. Safe on any thread; the lock guards the file and the state and is held
// during a write, which touches only that file.

#include <fstream>
#include <mutex>
#include <string>

#include "host/api/host_log.h"
#include "host/core/host_unknown.h"

class HostGuiLogger : public IGuiLogger, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGuiLogger";

  bool isRecording() override;
  ZelString currentLogFile() override;
  void suspend() override;
  void resume() override;
  bool isSuspended() override;
  bool writeRecord(const ZelCString& kind, const ZelString& text) override;

  // Host side. Starts a new log at path (created or emptied), ending the one under way; false, and not
  // recording, when the file cannot be written.
  bool startRecording(const std::string& path);
  // Closes the log; the file keeps what was written.
  void stopRecording();
  // Host side. The path of the log being recorded, as startRecording had it; empty while not recording.
  std::string recordingPath();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void stopLocked();

  std::mutex mutex_;
  std::ofstream file_;      // guarded by mutex_; open while recording
  std::string path_;        // guarded by mutex_; empty while not recording
  bool suspended_ = false;  // guarded by mutex_
};
