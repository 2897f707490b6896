#include "devices/event_log/event_log_parsers.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "devices/event_log/log_bytes.h"
#include "devices/event_log/log_number.h"
#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "devices/events/probe_radius.h"
#include "framework/object/iptr.h"
#include "framework/registrations/static_constants.h"

using Reader = PluginDeviceDataXMLReader;
using namespace EventLogNames;

namespace {

// Calls visit(child, tag) for each child element in document order, with the child's tag read into tag;
// stops at the first visit that answers false and answers false itself.
template <class Visit>
bool eachChild(IZelDOMXmlElement* element, ZelString& tag, Visit visit) {
  IPtr<IZelDOMXmlElementItr> children;
  children.takeOwnership(element->children());
  if (!children) return true;
  for (children->first(); !children->atEnd(); children->next()) {
    IZelDOMXmlElement* child = children->current();
    child->tagName(tag);
    if (!visit(child, tag)) return false;
  }
  return true;
}

// Unit by unit, without measuring both strings first: every child of every record is matched this way.
bool is(const ZelString& tag, const char16_t* name) {
  const char16_t* unit = tag.c_str();
  while (*unit && *unit == *name) ++unit, ++name;
  return *unit == *name;
}

// Appends the decimal digits at unit to digits; answers the first unit after them.
const char16_t* appendDigits(const char16_t* unit, uint64_t& digits) {
  for (; static_cast<char16_t>(*unit - u'0') <= 9; ++unit) digits = digits * 10 + (*unit - u'0');
  return unit;
}

// A text in the writer's fixed form, an optional minus, digits, a point and digits, at most 15 digits in all:
// read without the string's service lookup, and to the same value, since the digits and the power of ten
// are both exact doubles and one division rounds correctly. False for any other text.
bool readFixedDecimal(const ZelString& text, double& value) {
  static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const char16_t* const start = text.c_str() + (text.c_str()[0] == u'-');
  uint64_t digits = 0;  // wraps past 19 digits, which are refused all the same
  const char16_t* unit = appendDigits(start, digits);
  ptrdiff_t count = unit - start, decimals = 0;
  if (*unit == u'.') {
    const char16_t* fraction = unit + 1;
    unit = appendDigits(fraction, digits);
    decimals = unit - fraction;
    if (decimals == 0) return false;
  }
  count += decimals;
  if (*unit || count == 0 || count > 15) return false;
  value = static_cast<double>(digits) / kTens[decimals];
  if (start != text.c_str()) value = -value;
  return true;
}

// The element's text, read into text, as a number. A text that is no number, or not a finite one, is no
// measurement.
bool readDouble(IZelDOMXmlElement* element, ZelString& text, double& value) {
  element->text(text);
  double read = 0.0;
  if (!readFixedDecimal(text, read)) {
    const std::optional<double> number = logNumber(text);
    if (!number) return false;
    read = *number;
  }
  if (!std::isfinite(read)) return false;
  value = read;
  return true;
}

// The children "X", "Y" and "Z" into the vector; a missing one keeps its value, a repeated one overrides.
bool readVector(IZelDOMXmlElement* element, LogWalkStrings& strings, Vector3& vector) {
  return eachChild(element, strings.vectorTags, [&](IZelDOMXmlElement* child, const ZelString& tag) {
    if (is(tag, kX)) return readDouble(child, strings.text, vector.x);
    if (is(tag, kY)) return readDouble(child, strings.text, vector.y);
    if (is(tag, kZ)) return readDouble(child, strings.text, vector.z);
    return true;
  });
}

struct OrientedPoint {
  Vector3 point;
  Vector3 to;
  Vector3 up;
};

// The children "Point", "To" and "Up"; with points, every other child goes to it.
template <class OtherChild>
bool readOrientedPoint(IZelDOMXmlElement* element, LogWalkStrings& strings, OrientedPoint& read,
                       OtherChild other) {
  return eachChild(element, strings.recordTags, [&](IZelDOMXmlElement* child, const ZelString& tag) {
    if (is(tag, kPoint)) return readVector(child, strings, read.point);
    if (is(tag, kTo)) return readVector(child, strings, read.to);
    if (is(tag, kUp)) return readVector(child, strings, read.up);
    return other(child, tag);
  });
}

bool readOrientedPoint(IZelDOMXmlElement* element, LogWalkStrings& strings, OrientedPoint& read) {
  return readOrientedPoint(element, strings, read, [](IZelDOMXmlElement*, const ZelString&) { return true; });
}

}  // namespace

bool Reader::OnePointParser::parse(IZelDOMXmlElement* element) {
  Vector3 point;
  bool read = eachChild(element, strings().recordTags, [&](IZelDOMXmlElement* child, const ZelString& tag) {
    return !is(tag, kPoint) || readVector(child, strings(), point);
  });
  if (!read) return false;
  deliver(point);
  return true;
}

Reader::SetRadiusParser::SetRadiusParser(Receiver* receiver) : Parser(receiver, kSetRadius) {}

bool Reader::SetRadiusParser::parse(IZelDOMXmlElement* element) {
  double radius = 0.0;
  if (!readDouble(element, strings().text, radius) || !isProbeRadius(radius)) return false;
  receiver().setProbeRadius(radius);
  return true;
}

ZelString Reader::SetRadiusParser::damage(IZelDOMXmlElement* element) {
  double radius = 0.0;
  if (readDouble(element, strings().text, radius) && isProbeRadius(radius)) return {};
  ZelString why(u"the probe radius \"");
  why += strings().text;
  why += ZelString(u"\" is not a length from 0 to 0.5 m");
  return why;
}

Reader::OnMovedParser::OnMovedParser(Receiver* receiver) : Parser(receiver, kOnMoved) {}

bool Reader::OnMovedParser::parse(IZelDOMXmlElement* element) {
  OrientedPoint read;
  if (!readOrientedPoint(element, strings(), read)) return false;
  receiver().onMoved(read.point, read.to, read.up);
  return true;
}

Reader::OnPointSampledOrientationParser::OnPointSampledOrientationParser(Receiver* receiver)
    : Parser(receiver, kOnPointSampledOrientation) {}

bool Reader::OnPointSampledOrientationParser::parse(IZelDOMXmlElement* element) {
  OrientedPoint read;
  if (!readOrientedPoint(element, strings(), read)) return false;
  static_cast<IZelHardProbeContinuousDataReceiver&>(receiver()).onPointSampled(read.point, read.to, read.up);
  return true;
}

Reader::OnPointSampledParser::OnPointSampledParser(Receiver* receiver)
    : OnePointParser(receiver, kOnPointSampled) {}

void Reader::OnPointSampledParser::deliver(const Vector3& point) {
  static_cast<IZelHardProbeDataReceiver&>(receiver()).onPointSampled(point);
}

Reader::OnPointStopParser::OnPointStopParser(Receiver* receiver) : OnePointParser(receiver, kOnPointStop) {}

void Reader::OnPointStopParser::deliver(const Vector3& point) {
  receiver().onPointStop(point);
}

Reader::OnCustomEventParser::OnCustomEventParser(Receiver* receiver) : Parser(receiver, kOnCustomEvent) {}

bool Reader::OnCustomEventParser::parse(IZelDOMXmlElement* element) {
  ZelString name;
  element->attribute(name, ZelString(kName));
  std::string bytes = logBytes(name);
  receiver().onCustomEvent(ZelCString(bytes.c_str(), static_cast<int32_t>(bytes.size())), nullptr);
  return true;
}

bool Reader::NoDataParser::parse(IZelDOMXmlElement*) {
  (receiver().*call_)();
  return true;
}

Reader::OnStartCaptureParser::OnStartCaptureParser(Receiver* receiver)
    : NoDataParser(receiver, kOnStartCapture, &ReceiverForwarder::onStartCapture) {}

Reader::OnStopCaptureParser::OnStopCaptureParser(Receiver* receiver)
    : NoDataParser(receiver, kOnStopCapture, &ReceiverForwarder::onStopCapture) {}

Reader::OnStopParser::OnStopParser(Receiver* receiver)
    : NoDataParser(receiver, kOnStop, &ReceiverForwarder::onStop) {}

Reader::OnSampledParser::OnSampledParser(Receiver* receiver) : Parser(receiver, kOnSampled) {}

bool Reader::OnSampledParser::parse(IZelDOMXmlElement* element) {
  pointBuffer_.clear();
  OrientedPoint read;
  bool readAll = readOrientedPoint(
      element, strings(), read,
      [&](IZelDOMXmlElement* child, const ZelString& tag) { return !is(tag, kPoints) || readPoints(child); });
  if (!readAll) return false;
  static_assert(sizeof(Vector3) == 3 * sizeof(double), "scan points are handed on packed");
  const void* points = pointBuffer_.empty() ? nullptr : pointBuffer_.data();
  receiver().onSampled(read.point, read.to, read.up, points, static_cast<uint32_t>(pointBuffer_.size()), 0);
  return true;
}

bool Reader::OnSampledParser::readPoints(IZelDOMXmlElement* points) {
  // A second "Points" child replaces the first, as a repeated vector child does.
  pointBuffer_.clear();
  return eachChild(points, strings().listTags, [&](IZelDOMXmlElement* child, const ZelString& tag) {
    if (!is(tag, kPoint)) return true;
    Vector3 point;
    if (!readVector(child, strings(), point)) return false;
    pointBuffer_.push_back(point);
    return true;
  });
}

uint32_t LogElementNameKey::hash(const ZelString& name) {
  uint32_t sum = 0;
  for (const char16_t* unit = name.c_str(); *unit; ++unit) sum += *unit;
  return sum;
}

ParserTable::ParserTable(Reader::Receiver* receiver) {
  add(std::make_unique<Reader::SetRadiusParser>(receiver));
  add(std::make_unique<Reader::OnMovedParser>(receiver));
  add(std::make_unique<Reader::OnPointSampledParser>(receiver));
  add(std::make_unique<Reader::OnPointSampledOrientationParser>(receiver));
  add(std::make_unique<Reader::OnPointStopParser>(receiver));
  add(std::make_unique<Reader::OnCustomEventParser>(receiver));
  add(std::make_unique<Reader::OnStartCaptureParser>(receiver));
  add(std::make_unique<Reader::OnStopCaptureParser>(receiver));
  add(std::make_unique<Reader::OnSampledParser>(receiver));
  add(std::make_unique<Reader::OnStopParser>(receiver));
}

void ParserTable::add(std::unique_ptr<Reader::Parser> parser) {
  byName_.set(parser->name(), parser.get());
  parsers_.push_back(std::move(parser));
}

Reader::Parser* ParserTable::find(const ZelString& name) const {
  Reader::Parser* const* parser = byName_.find(name);
  return parser ? *parser : nullptr;
}
