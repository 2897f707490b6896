#pragma once

// The stand-in host's logger (the service "IGuiLogger"): while recording, it appends the records it is given
// to one log in the format of host_log_format.md. The log is written beside its file and takes the file's
// place when recording stops (platform/file_replacement.h), so a log that could not be written whole leaves
// the file there as it was; each record is flushed at once, so that after a crash the new version beside the
// file holds every record written so far. An event file that fails after its log was put in place (the
// recording stopped while the acquisition ran on) is shown through the host's error service and kept for the
// host's end (lateFailure). The event files a log names go with it when it is not put in place, by a signal
// too. Safe on any thread; the lock guards the log and the state and is held during a
// write, which touches only that log, never while the error service is called.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/host_log.h"
#include "host_api/zel_error_service.h"
#include "platform/file_replacement.h"
#include "platform/unfinished_files.h"

class HostGuiLogger : public IGuiLogger, public IGuiLoggerReports, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGuiLogger";
  // What a host tells the user when stopRecording fails.
  static constexpr const char* kUnwrittenLog =
      "the host log could not be written whole: the file there is left as it was";

  // Tells the user through errors of an event file that fails after its log was put in place; errors
  // outlives the logger.
  explicit HostGuiLogger(IZelErrorService& errors) : errors_(errors) {}

  bool isRecording() override;
  ZelString currentLogFile() override;
  void suspend() override;
  void resume() override;
  bool isSuspended() override;
  bool writeRecord(const ZelCString& kind, const ZelString& text) override;
  void reportEventFile(const ZelString& path) override;
  void reportUnwrittenFile(const ZelString& path) override;
  void reportUnrecordedAcquisition() override;
  void reportEmptyFile(const ZelString& path) override;

  ~HostGuiLogger() override;

  // Host side. Starts a new log for path, ending the one under way; false, and not recording, when the file
  // cannot be written.
  bool startRecording(const std::string& path);
  // Ends the log under way: it replaces the file at its path. False, with the file there as it was, when a
  // record could not be written, the log could not be put in place, or a file it names holds no record;
  // false too, with the log in place, when a file it names was reported unwritten or an acquisition
  // unrecorded, unless the log holds no record: then the file there stays as it was. why, when given, then
  // says which of these it was.
  bool stopRecording(std::string* why = nullptr);
  // Why a log already put in place does not replay what was measured: the first event file reported
  // unwritten or empty after its recording ended; empty when none was.
  std::string lateFailure();
  // Host side. The path of the log being recorded, as startRecording had it; empty while not recording.
  std::string recordingPath();
  // Host side. Records an error shown to the user while recording (kErrorShownRecord), as writeRecord does;
  // it is no record of the user's work, so a log that holds only these holds no record.
  bool recordShownError(const ZelString& message);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool stopLocked(std::string* why = nullptr);
  // Appends an encoded record; ofTheWork: a record of the user's work, which makes the log one that holds
  // one.
  bool writeLine(const std::string& line, bool ofTheWork);
  // Why the recording under way does not replay what was measured; empty when nothing was reported.
  std::string recordingFailureLocked() const;
  // Keeps the first file reported in first while recording; after the recording ended, keeps its text
  // (what the file is) as the late failure unless one was kept before, and tells the user.
  void reportFile(const ZelString& path, std::string HostGuiLogger::*first,
                  std::string (*text)(const std::string& file));

  IZelErrorService& errors_;
  std::mutex mutex_;
  std::unique_ptr<FileReplacement> log_;  // guarded by mutex_; there while recording
  std::string path_;                      // guarded by mutex_; empty while not recording
  bool suspended_ = false;                // guarded by mutex_
  bool holdsRecords_ = false;             // guarded by mutex_; a record was written, while recording
  std::string unwrittenFile_;             // guarded by mutex_; the first file reported, while recording
  std::string emptyFile_;                 // guarded by mutex_; the first file reported empty, while recording
  bool unrecorded_ = false;  // guarded by mutex_; an acquisition went unrecorded, while recording
  bool placedLog_ = false;   // guarded by mutex_; a log was put in place in this session
  std::string lateFailure_;  // guarded by mutex_
  // Guarded by mutex_; the event files the log under way names, which a signal removes with the log.
  std::vector<std::unique_ptr<platform::UnfinishedFile>> eventFiles_;
};
