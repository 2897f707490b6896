#include "devices/event_log/plugin_device_data_xml_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <istream>
#include <new>
#include <string>

#include "devices/event_log/event_log_parsers.h"
#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "framework/files/zel_fstream.h"
#include "framework/files/zel_path.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/static_constants.h"
#include "host/api/main_application.h"
#include "host/api/xml_dom.h"

namespace {

const ClassRegistration<PluginDeviceDataXMLReader> registration(registeredClass("PluginDeviceDataXMLReader"));

// The longest gap a record can ask for: the format's time is an unsigned 32-bit count of milliseconds.
constexpr double kLongestGapMs = 4294967295.0;

// The whole milliseconds a record asks to wait; 0 for a missing, unreadable, negative or sub-millisecond
// time. A fraction is cut off, as the writer cuts it when it stamps.
uint32_t gapMilliseconds(IZelDOMXmlElement* record) {
  ZelString time;
  record->attribute(time, ZelString(EventLogNames::kTime));
  bool ok = false;
  double milliseconds = time.toDouble(&ok);
  if (!ok || std::isnan(milliseconds) || milliseconds < 1.0) return 0;
  return static_cast<uint32_t>(std::trunc(std::fmin(milliseconds, kLongestGapMs)));
}

// Appends the file's size bytes to bytes; false when fewer come, or when they do not fit in memory.
bool readBytes(std::istream& file, std::streamoff size, std::string& bytes) {
  constexpr std::streamoff kPiece = 1 << 16;
  const size_t start = bytes.size();
  try {
    while (static_cast<std::streamoff>(bytes.size() - start) < size) {
      size_t before = bytes.size();
      auto piece = static_cast<size_t>(std::min(kPiece, size - static_cast<std::streamoff>(before - start)));
      bytes.resize(before + piece);
      file.read(bytes.data() + before, static_cast<std::streamsize>(piece));
      if (static_cast<size_t>(file.gcount()) != piece) return false;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

PluginDeviceDataXMLReader::PluginDeviceDataXMLReader() = default;
PluginDeviceDataXMLReader::~PluginDeviceDataXMLReader() = default;

void PluginDeviceDataXMLReader::setReceiver(Receiver* receiver) {
  receiver_ = receiver;
}

bool PluginDeviceDataXMLReader::readLog(ZelString& text) const {
  ZelIfstream file(ZelPath::directoryForm(fileName_), std::ios_base::in | std::ios_base::binary);
  if (!file) return false;
  file.seekg(0, std::ios_base::end);
  std::streamoff size = file.tellg();
  file.seekg(0, std::ios_base::beg);
  if (size < 0 || !file) return false;
  // Built by hand rather than through the translator: the text is data, not words for the user, and the
  // translator belongs to the host's main thread. Enclosed before it is widened, so that a large log is
  // copied once.
  std::string bytes = "<HardProbe>";
  // Read in pieces up to the size the file claims: a path that names no regular file (a directory) claims
  // any size and gives no bytes, and must not make the reader ask for that much memory first.
  if (!readBytes(file, size, bytes)) return false;
  file.close();
  bytes.resize(std::min(bytes.find('\0'), bytes.size()));  // up to the first zero byte
  bytes += "</HardProbe>";
  text = ZelString(bytes.c_str());  // one character per byte
  return true;
}

bool PluginDeviceDataXMLReader::replay() {
  if (!receiver_) return false;
  ZelString text;
  if (!readLog(text)) return false;
  // The whole text is parsed before the first record plays, so a log cut off at its end delivers nothing.
  SPtr<IZelDOMXml> document;
  if (!document || !document->parse(text)) return false;
  IZelDOMXmlElement* root = document->rootElement();
  if (!root) return false;

  ParserTable parsers(receiver_.get());
  IPtr<IZelDOMXmlElementItr> records;
  records.takeOwnership(root->children());
  for (records->first(); !records->atEnd(); records->next()) {
    IZelDOMXmlElement* record = records->current();
    if (!waitGap(record)) return obeyCancel();
    ZelString name;
    record->tagName(name);
    if (Parser* parser = parsers.find(name)) parser->parse(record);
  }
  return true;
}

bool PluginDeviceDataXMLReader::waitGap(IZelDOMXmlElement* record) {
  uint32_t gap = paced_ ? gapMilliseconds(record) : 0;
  return !cancelRequested_.waitFor(gap);
}

bool PluginDeviceDataXMLReader::obeyCancel() {
  receiver_->onCustomEvent(ZelCString("Cancel"), nullptr);
  SPtr<IEventService> events;
  if (events) events->processEvents(false);
  cancelRequested_.reset();
  return true;
}

void PluginDeviceDataXMLReader::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}
