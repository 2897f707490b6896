#pragma once

// PluginDeviceDataXMLReader plays a device-event log (event_log_format.md) back into one device receiver,
// with the recorded gaps between the events: it waits each record's "time" in milliseconds (cut toward zero
// to whole ones), then makes the one receiver call the record stands for. The replay plug-in makes a reader
// per run, gives it the log's path and an adapter over the run's receiver, and calls replay on the device's
// worker thread.
//
// Threads: replay and every receiver call run on the calling (worker) thread; cancel may come from any other
// thread at any time, also in the middle of a gap, and ends the replay within milliseconds.

#include <cstdint>
#include <string>

#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "platform/event.h"

class IZelDOMXmlElement;
class IZelDOMXmlElementItr;
class ParserTable;

class PluginDeviceDataXMLReader : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceDataXMLReader";

  class Receiver;
  class Parser;
  class OnePointParser;
  class NoDataParser;
  class SetRadiusParser;
  class OnMovedParser;
  class OnPointSampledParser;
  class OnPointSampledOrientationParser;
  class OnPointStopParser;
  class OnCustomEventParser;
  class OnStartCaptureParser;
  class OnStopCaptureParser;
  class OnSampledParser;
  class OnStopParser;

  PluginDeviceDataXMLReader();
  PluginDeviceDataXMLReader(const PluginDeviceDataXMLReader&) = delete;
  PluginDeviceDataXMLReader& operator=(const PluginDeviceDataXMLReader&) = delete;
  ~PluginDeviceDataXMLReader() override;

  // The adapter to replay into; the reader holds a reference on it.
  void setReceiver(Receiver* receiver);
  void setFileName(const ZelString& fileName) { fileName_ = fileName; }

  // Plays the whole log. True at its end, and after a cancel (the receiver then gets the custom event
  // "Cancel"). False, with no receiver call at all, when there is no receiver, the path is not a regular file
  // that can be read, the host has no XML DOM, or the log is not one: not well-formed (a truncated log),
  // holding a NUL, text or a second element beside the records, without a single record, or too large for
  // the memory, or damaged by one of its records (a probe radius that is not a finite length above 0; the
  // failure names the record). A record whose numbers
  // cannot be read is not delivered (see undelivered), a record of an unknown kind is skipped after its
  // wait; the replay goes on. Memory running out while the records play also ends it with false.
  bool replay();
  // The records of the last replay that could not be read and were not delivered, and the first of them
  // ("record 17 (OnPointSampled)", counting from 1); 0 and empty when every record played. Read them as
  // failure.
  uint32_t undelivered() const { return undelivered_; }
  const ZelString& firstUndelivered() const { return firstUndelivered_; }
  // Why the last replay answered false, in a few words for the person who gave the log; empty after a
  // success. Read it on the replay's thread, or after the replay ended.
  const ZelString& failure() const { return failure_; }
  // Ends a running replay before its next record, waking it from a gap. Any thread.
  void cancel() { cancelRequested_.set(); }

  // The whole milliseconds a record whose "time" reads so waits before it plays: the time cut toward zero
  // ("600.7" waits 600 ms); 0 for a missing time, one that is no number, or one below a millisecond; two
  // minutes for a longer pause (an idle hour, or a time beyond all measure), which then ends as it did.
  static uint32_t gapOf(const ZelString& time);

  // Off, every gap is skipped: for benchmarks and fuzzing, which replay logs as fast as they can be read.
  void setPaced(bool paced) { paced_ = paced; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool play();
  // The log's bytes, from a regular file only.
  bool readLog(std::string& bytes);
  // The log's text enclosed in one root element, so that its records become the root's children.
  bool readText(ZelString& text);
  // Keeps the reason and answers false.
  bool refuse(const char16_t* reason);
  // False, with the failure naming the first record that damages the whole log, when one does.
  bool checkRecords(IZelDOMXmlElementItr& records, const ParserTable& parsers, ZelString& name);
  // Waits the record's gap; answers false when a cancel came first.
  bool waitGap(IZelDOMXmlElement* record);
  bool obeyCancel();
  void noteUndelivered(uint32_t number, const ZelString& name);

  IPtr<Receiver> receiver_;
  ZelString fileName_;
  ZelString failure_;
  uint32_t undelivered_ = 0;
  ZelString firstUndelivered_;
  // Set by cancel, cleared by the replay that obeyed it; a gap is a wait on it, so a cancel ends the gap.
  platform::Event cancelRequested_{platform::Event::Reset::kManual};
  bool paced_ = true;
};
