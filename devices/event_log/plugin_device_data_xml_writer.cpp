#include "devices/event_log/plugin_device_data_xml_writer.h"

#include <cmath>
#include <string>

#include "devices/event_log/log_bytes.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/static_constants.h"
#include "host_api/xml_dom.h"

using namespace EventLogNames;

namespace {

const ClassRegistration<PluginDeviceDataXMLWriter> registration(registeredClass("PluginDeviceDataXMLWriter"));

}  // namespace

// One event's document with its element. Empty when the host has no XML DOM; a lookup hands out a fresh
// document, so no other thread shares it.
class PluginDeviceDataXMLWriter::Record {
 public:
  explicit Record(const ZelString& element) {
    document_.getService();
    if (document_) element_.takeOwnership(document_->createElement(element));
  }

  bool isValid() const { return bool(element_); }
  IZelDOMXmlElement& element() { return *element_; }

  void setTime(uint32_t milliseconds) {
    element_->setAttribute(ZelString(kTime), ZelString(std::to_string(milliseconds).c_str()));
  }

  // A child of parent named name with the children "X", "Y" and "Z".
  void addVector(IZelDOMXmlElement& parent, const char16_t* name, const double* xyz) {
    IPtr<IZelDOMXmlElement> vector = newElement(name);
    const char16_t* axes[] = {kX, kY, kZ};
    for (int i = 0; i < 3; ++i) {
      IPtr<IZelDOMXmlElement> coordinate = newElement(axes[i]);
      coordinate->setText(ZelString::number(xyz[i]));
      vector->appendChild(coordinate.get());
    }
    parent.appendChild(vector.get());
  }

  void addOrientedPoint(const double* point, const double* to, const double* up) {
    addVector(*element_, kPoint, point);
    addVector(*element_, kTo, to);
    addVector(*element_, kUp, up);
  }

  IPtr<IZelDOMXmlElement> newElement(const char16_t* name) {
    IPtr<IZelDOMXmlElement> made;
    made.takeOwnership(document_->createElement(ZelString(name)));
    return made;
  }

  // The serialised document whose one element is this record's.
  ZelString text() {
    document_->setRootElement(element_.get());
    ZelString out;
    document_->serialize(out);
    return out;
  }

 private:
  IPtr<IZelDOMXml> document_;
  IPtr<IZelDOMXmlElement> element_;
};

PluginDeviceDataXMLWriter::PluginDeviceDataXMLWriter() : output_(std::make_unique<ConsoleOutput>()) {}
PluginDeviceDataXMLWriter::~PluginDeviceDataXMLWriter() = default;

void PluginDeviceDataXMLWriter::setOutputFile(const ZelString& path) {
  // The old output closes its file before the new one opens it, so the same path is emptied, not shared.
  output_.reset();
  output_ = std::make_unique<FileOutput>(path);
}

uint32_t PluginDeviceDataXMLWriter::stamp() {
  if (first_) {
    first_ = false;
    timer_.start();
  }
  // Kept modulo 2^32 as the format's count is: the unsigned difference stays right across the wrap.
  auto cumulative =
      static_cast<uint32_t>(static_cast<uint64_t>(std::trunc(timer_.elapsedSeconds() * 1000.0)));
  uint32_t gap = cumulative - lastMillis_;
  lastMillis_ = cumulative;
  return gap;
}

template <class Data, class Fill>
void PluginDeviceDataXMLWriter::writeEvent(const ZelString& element, Data* data, Fill fill) {
  if (!data) return;
  Record record(element);
  if (!record.isValid()) return;
  record.setTime(stamp());
  fill(record, *data);
  output_->write(record.text());
}

void PluginDeviceDataXMLWriter::writeNullEvent(const ZelString& element, IZelPluginDeviceNullData* data) {
  writeEvent(element, data, [](Record&, IZelPluginDeviceNullData&) {});
}

void PluginDeviceDataXMLWriter::writeRadiusEvent(const ZelString& element, IZelPluginDeviceRadiusData* data) {
  writeEvent(element, data, [](Record& record, IZelPluginDeviceRadiusData& radius) {
    record.element().setText(ZelString::number(radius.radius()));
  });
}

void PluginDeviceDataXMLWriter::writePositionEvent(const ZelString& element,
                                                   IZelPluginDevicePositionData* data) {
  writeEvent(element, data, [](Record& record, IZelPluginDevicePositionData& position) {
    record.addVector(record.element(), kPoint, position.point());
  });
}

void PluginDeviceDataXMLWriter::writePositionOrientationEvent(const ZelString& element,
                                                              IZelPluginDevicePositionOrientationData* data) {
  writeEvent(element, data, [](Record& record, IZelPluginDevicePositionOrientationData& position) {
    record.addOrientedPoint(position.point(), position.to(), position.up());
  });
}

void PluginDeviceDataXMLWriter::writeCustomEvent(const ZelString& element,
                                                 IZelPluginDeviceCustomEventData* data) {
  writeEvent(element, data, [](Record& record, IZelPluginDeviceCustomEventData& custom) {
    const char* name = custom.name();
    record.element().setAttribute(ZelString(kName), logText(name ? name : ""));
  });
}

void PluginDeviceDataXMLWriter::writeScanLineEvent(const ZelString& element,
                                                   IZelPluginDeviceScanLineData* data) {
  writeEvent(element, data, [](Record& record, IZelPluginDeviceScanLineData& line) {
    record.addOrientedPoint(line.point(), line.to(), line.up());
    int32_t count = line.pointCount();
    const double* points = line.points();
    if (count < 1 || !points) return;
    IPtr<IZelDOMXmlElement> list = record.newElement(kPoints);
    for (int32_t i = 0; i < count; ++i) record.addVector(*list, kPoint, points + 3 * i);
    record.element().appendChild(list.get());
  });
}

void PluginDeviceDataXMLWriter::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}
