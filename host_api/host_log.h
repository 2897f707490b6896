#pragma once

// The host's log of the user's work. A log is a file of records, each a kind (narrow text) and a text (wide);
// the logger ("IGuiLogger") writes one while the host records, the replayer ("ILogReplayer") plays one back,
// handing each record to the handler registered for its kind. The path of a log (currentLogFile) is as the
// user gave it, in the user's separators, which the module keeps in what it tells the user; the module
// normalises it before it builds on it. Other paths may be in either form. Safe on any thread; replaying
// belongs to the host's main thread.

#include <cstdint>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IGuiLogger : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiLogger";

  // True while a log is open, suspended or not.
  virtual bool isRecording() = 0;
  // The path of the log being written, or empty when none is.
  virtual ZelString currentLogFile() = 0;
  // While suspended, records are not written; suspending a log that is not recording does nothing.
  virtual void suspend() = 0;
  virtual void resume() = 0;
  virtual bool isSuspended() = 0;
  // Appends one record and flushes it to the file, so a reader sees it at once. False (nothing written)
  // when not recording, while suspended, for an empty kind, or when the file refuses the write.
  virtual bool writeRecord(const ZelCString& kind, const ZelString& text) = 0;
};

// What a logger may also be told: the event files and acquisitions of its log that it does not replay. A
// separate interface, asked of the logger by name; a host's logger that does not answer it is told nothing,
// and the module tells the user itself (the log then ends as if whole). Any thread.
class IGuiLoggerReports : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiLoggerReports";

  // A file the log names (a device's event file), about to be written beside it: it belongs to the log, and
  // goes when the log is not put in place (the host ended by a signal, or the log could not be written), so
  // that no file is left that no log names. Nothing while not recording.
  virtual void reportEventFile(const ZelString& path) = 0;
  // A file the log names (a device's event file) could not be written whole: the log no longer replays what
  // was measured, so ending the recording fails and says which file. A file of a log whose recording has
  // ended already (its acquisition outlived it) is told to the user and fails the host's session as well.
  virtual void reportUnwrittenFile(const ZelString& path) = 0;
  // An acquisition could not be recorded (no event file could be named for it): the log does not replay what
  // was measured, so ending the recording fails, saying so; a log that then holds no record is not put in
  // place. Nothing while not recording.
  virtual void reportUnrecordedAcquisition() = 0;
  // A file the log names (a device's event file) holds no record, as its acquisition delivered none or none
  // could be written, and is not there: a log naming it does not replay, so ending the recording fails and
  // the log is not put in place; after the recording ended, as for an unwritten file.
  virtual void reportEmptyFile(const ZelString& path) = 0;
};

class ILogReplayer : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ILogReplayer";

  // Plays the records of one or more kinds. The replayer holds a reference on it while it is registered.
  class ILogEventHandler : public virtual IZelUnknown {
   public:
    static constexpr const char* interfaceName = "ILogReplayer::ILogEventHandler";

    // One record: its kind and its texts (the record's text, as UTF-8; no item for an empty text). True when
    // the record was applied.
    virtual bool handleRecord(const ZelCString& kind, const std::vector<ZelCString>& texts) = 0;
  };

  // A handler that can give up what it is doing for a record when the replay is interrupted.
  class IInterruptibleLogEventHandler : public virtual IZelUnknown {
   public:
    static constexpr const char* interfaceName = "ILogReplayer::IInterruptibleLogEventHandler";

    // Called when the host interrupts the replay, possibly from another thread than the one replaying.
    virtual void interrupt() = 0;
  };

  virtual bool isReplaying() = 0;
  // The path of the log being replayed, or empty when none is.
  virtual ZelString currentLogFile() = 0;
  // Plays the next record: hands it to its kind's handler (a record of a kind without a handler is passed
  // over) and answers true. False when nothing more can be played: no replay, the end of the log, or a
  // damaged record, at which the replay ends.
  virtual bool replayNext() = 0;
  // Registers the handler for a kind, replacing the one registered before. A null handler or an empty kind
  // is ignored.
  virtual void addHandler(const ZelCString& kind, ILogEventHandler* handler) = 0;
  virtual void removeHandler(const ZelCString& kind) = 0;
};
