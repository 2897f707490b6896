#pragma once

// PluginDeviceDataXMLWriter writes raw device events as a device-event log (event_log_format.md): one small
// XML document per event, built with the host's XML DOM, each stamped with the whole milliseconds since the
// writer's previous record. A device's acquisition thread makes one writer when logging is on, gives it the
// log file, and calls it after posting each event; records go to the standard error stream until a file is
// given.
//
// The caller chooses the element name of each event; the writer writes it as given. A host without an XML
// DOM loses the records without a word, and a file that cannot be written loses them with one to the host's
// log (log_output.h): logging never stops acquisition.
// One writer belongs to one thread and has no lock.

#include <cstdint>
#include <memory>

#include "basic_types/zel_string.h"
#include "devices/event_log/log_output.h"
#include "devices/records/plugin_device_data.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/threads/high_resolution_timer.h"

class IZelDOMXml;
class IZelDOMXmlElement;

class PluginDeviceDataXMLWriter : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceDataXMLWriter";

  PluginDeviceDataXMLWriter();
  PluginDeviceDataXMLWriter(const PluginDeviceDataXMLWriter&) = delete;
  PluginDeviceDataXMLWriter& operator=(const PluginDeviceDataXMLWriter&) = delete;
  ~PluginDeviceDataXMLWriter() override;

  // Closes the current output and writes from now on to the file, created or emptied. The timing goes on.
  void setOutputFile(const ZelString& path);

  // One record per call. A null record writes nothing (the null event's record is never read).
  void writeNullEvent(const ZelString& element, IZelPluginDeviceNullData* record);
  void writeRadiusEvent(const ZelString& element, IZelPluginDeviceRadiusData* record);
  void writePositionEvent(const ZelString& element, IZelPluginDevicePositionData* record);
  void writePositionOrientationEvent(const ZelString& element,
                                     IZelPluginDevicePositionOrientationData* record);
  // The name only; the payload is not written.
  void writeCustomEvent(const ZelString& element, IZelPluginDeviceCustomEventData* record);
  // The points go in a "Points" child only when the line has at least one.
  void writeScanLineEvent(const ZelString& element, IZelPluginDeviceScanLineData* record);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  class Record;

  // The milliseconds since the previous record (0 for the first), from the cumulative count, so that the
  // cut-off fractions of the gaps never add up.
  uint32_t stamp();
  // Stamps a new record of the element, lets fill add the data's content, and writes it; nothing for a null
  // record or without the host's XML DOM.
  template <class Data, class Fill>
  void writeEvent(const ZelString& element, Data* data, Fill fill);

  std::unique_ptr<OutputBase> output_;
  bool first_ = true;  // until the first record, which starts the timer
  HighResolutionTimer timer_;
  uint32_t lastMillis_ = 0;  // whole milliseconds from the first record to the last one written
};
