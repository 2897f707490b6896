#pragma once

// The parsers of the device-event log's records, one per event kind: each reads its element's data and makes
// the receiver call the record stands for. A parser that cannot read a number makes no call and answers
// false; the replay then goes on with the next record. A record whose value would make every later
// measurement wrong (a probe radius that is none) damages the whole log: damage says why, and the reader
// asks it of every record before the first one plays. ParserTable finds a record's parser by its element
// name. Parsers live for one replay and are used by its thread only.

#include <memory>
#include <vector>

#include "basic_types/vector3.h"
#include "basic_types/zel_hash_table.h"
#include "basic_types/zel_string.h"
#include "devices/event_log/plugin_device_data_xml_reader.h"
#include "devices/plugins/receiver_forwarder.h"
#include "host_api/xml_dom.h"

// The strings a record's walk fills again and again, one for the tags of each depth and one for a number's
// text: kept by a parser across the records it reads, so that the host refills them in place.
struct LogWalkStrings {
  ZelString recordTags;  // a record's children
  ZelString listTags;    // the points of a scan line
  ZelString vectorTags;  // a vector's coordinates
  ZelString text;
};

class PluginDeviceDataXMLReader::Parser {
 public:
  // receiver is not owned and must outlive the parser; name is the element the parser serves.
  Parser(Receiver* receiver, const char16_t* name) : receiver_(receiver), name_(name) {}
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;
  virtual ~Parser() = default;

  // True when the element was read and the receiver called.
  virtual bool parse(IZelDOMXmlElement* element) = 0;
  // Why the record damages the whole log; empty when it does not.
  virtual ZelString damage(IZelDOMXmlElement*) { return {}; }
  const ZelString& name() const { return name_; }

 protected:
  Receiver& receiver() const { return *receiver_; }
  LogWalkStrings& strings() { return strings_; }

 private:
  Receiver* receiver_;
  ZelString name_;
  LogWalkStrings strings_;
};

// A record of one child "Point".
class PluginDeviceDataXMLReader::OnePointParser : public Parser {
 public:
  using Parser::Parser;
  bool parse(IZelDOMXmlElement* element) override;
  virtual void deliver(const Vector3& point) = 0;
};

class PluginDeviceDataXMLReader::SetRadiusParser : public Parser {
 public:
  explicit SetRadiusParser(Receiver* receiver);
  bool parse(IZelDOMXmlElement* element) override;
  // A radius that cannot be read, or is not a finite length above 0.
  ZelString damage(IZelDOMXmlElement* element) override;
};

class PluginDeviceDataXMLReader::OnMovedParser : public Parser {
 public:
  explicit OnMovedParser(Receiver* receiver);
  bool parse(IZelDOMXmlElement* element) override;
};

class PluginDeviceDataXMLReader::OnPointSampledOrientationParser : public Parser {
 public:
  explicit OnPointSampledOrientationParser(Receiver* receiver);
  bool parse(IZelDOMXmlElement* element) override;
};

class PluginDeviceDataXMLReader::OnPointSampledParser : public OnePointParser {
 public:
  explicit OnPointSampledParser(Receiver* receiver);
  void deliver(const Vector3& point) override;
};

class PluginDeviceDataXMLReader::OnPointStopParser : public OnePointParser {
 public:
  explicit OnPointStopParser(Receiver* receiver);
  void deliver(const Vector3& point) override;
};

class PluginDeviceDataXMLReader::OnCustomEventParser : public Parser {
 public:
  explicit OnCustomEventParser(Receiver* receiver);
  bool parse(IZelDOMXmlElement* element) override;
};

// A record without data: the receiver call alone, whatever the element holds.
class PluginDeviceDataXMLReader::NoDataParser : public Parser {
 public:
  using Call = void (ReceiverForwarder::*)();
  NoDataParser(Receiver* receiver, const char16_t* name, Call call) : Parser(receiver, name), call_(call) {}
  bool parse(IZelDOMXmlElement* element) override;

 private:
  Call call_;
};

class PluginDeviceDataXMLReader::OnStartCaptureParser : public NoDataParser {
 public:
  explicit OnStartCaptureParser(Receiver* receiver);
};

class PluginDeviceDataXMLReader::OnStopCaptureParser : public NoDataParser {
 public:
  explicit OnStopCaptureParser(Receiver* receiver);
};

class PluginDeviceDataXMLReader::OnStopParser : public NoDataParser {
 public:
  explicit OnStopParser(Receiver* receiver);
};

// A scan line. Its points are gathered in a buffer the parser keeps, so that a replay of many lines does not
// allocate per line; every record starts from an empty buffer, so a line without "Points" delivers no points.
class PluginDeviceDataXMLReader::OnSampledParser : public Parser {
 public:
  explicit OnSampledParser(Receiver* receiver);
  bool parse(IZelDOMXmlElement* element) override;

 private:
  bool readPoints(IZelDOMXmlElement* points);

  std::vector<Vector3> pointBuffer_;
};

// Element names hash to the sum of their UTF-16 units and are equal only unit for unit, so "onmoved" is not
// "OnMoved".
struct LogElementNameKey {
  static uint32_t hash(const ZelString& name);
  static bool equal(const ZelString& a, const ZelString& b) { return a == b; }
};

// The ten parsers, made for one replay into receiver, found by element name.
class ParserTable {
 public:
  explicit ParserTable(PluginDeviceDataXMLReader::Receiver* receiver);
  ParserTable(const ParserTable&) = delete;
  ParserTable& operator=(const ParserTable&) = delete;

  // The parser of the element name, or null for a name no parser serves.
  PluginDeviceDataXMLReader::Parser* find(const ZelString& name) const;

 private:
  void add(std::unique_ptr<PluginDeviceDataXMLReader::Parser> parser);

  std::vector<std::unique_ptr<PluginDeviceDataXMLReader::Parser>> parsers_;
  ZelHashTable<ZelString, PluginDeviceDataXMLReader::Parser*, LogElementNameKey> byName_;
};
