#include "devices/event_log/plugin_device_data_xml_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <istream>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "devices/event_log/event_log_parsers.h"
#include "devices/event_log/log_bytes.h"
#include "devices/event_log/log_number.h"
#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "framework/files/zel_fstream.h"
#include "framework/files/zel_path.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/static_constants.h"
#include "host_api/main_application.h"
#include "host_api/xml_dom.h"
#include "platform/file.h"
#include "platform/memory_status.h"
#include "platform/text_encoding.h"

namespace {

const ClassRegistration<PluginDeviceDataXMLReader> registration(registeredClass("PluginDeviceDataXMLReader"));

// The largest log a replay takes: its text is one wide string, whose length counts in 32 bits, twice over.
constexpr std::streamoff kLargestLog = std::streamoff(1) << 30;
// A replay holds the log at once as its bytes, as wide text and as the DOM's tree: at its peak about 7.4
// times the file's size, with room to spare here.
constexpr uint64_t kReplayBytesPerLogByte = 8;

// Built by hand rather than through the translator: the text is data, not words for the user, and the
// translator belongs to the host's main thread.
constexpr std::string_view kRootStart = "<HardProbe>";
constexpr std::string_view kRootEnd = "</HardProbe>";

// The longest wait a replay makes. An operator may leave the arm idle for an hour, and the recording keeps
// that pause; replayed, it would hold everything up for no measurement. Longer than any interval a command
// times (Probe Capture takes a point at most every 100 s), so a capped pause ends as the recorded one did.
constexpr double kLongestGapMilliseconds = 2 * 60 * 1000;

ZelString timeOf(IZelDOMXmlElement* record) {
  ZelString time;
  record->attribute(time, ZelString(EventLogNames::kTime));
  return time;
}

// Appends the file's size bytes to bytes; false when fewer come.
bool readBytes(std::istream& file, std::streamoff size, std::string& bytes) {
  constexpr std::streamoff kPiece = 1 << 16;
  const std::streamoff end = static_cast<std::streamoff>(bytes.size()) + size;
  while (static_cast<std::streamoff>(bytes.size()) < end) {
    size_t before = bytes.size();
    auto piece = static_cast<size_t>(std::min(kPiece, end - static_cast<std::streamoff>(before)));
    bytes.resize(before + piece);
    file.read(bytes.data() + before, static_cast<std::streamsize>(piece));
    if (static_cast<size_t>(file.gcount()) != piece) return false;
  }
  return true;
}

// White space between records is the serialiser's or an editor's; any other text is not a record.
bool holdsText(IZelDOMXmlElement* root) {
  ZelString text;
  root->text(text);
  for (const char16_t* unit = text.c_str(); *unit; ++unit) {
    if (*unit != u' ' && *unit != u'\t' && *unit != u'\r' && *unit != u'\n') return true;
  }
  return false;
}

ZelString parseError(IZelDOMXml& document) {
  ZelString reason(u"not well-formed XML");
  auto* error = queryPart<IZelDOMXmlError>(&document);
  ZelString detail = error ? error->errorText() : ZelString();
  if (detail.isEmpty()) return reason;
  reason += ZelString(u": ");
  reason += detail;
  return reason;
}

}  // namespace

PluginDeviceDataXMLReader::PluginDeviceDataXMLReader() = default;
PluginDeviceDataXMLReader::~PluginDeviceDataXMLReader() = default;

void PluginDeviceDataXMLReader::setReceiver(Receiver* receiver) {
  receiver_ = receiver;
}

bool PluginDeviceDataXMLReader::refuse(const char16_t* reason) {
  failure_ = ZelString(reason);
  return false;
}

bool PluginDeviceDataXMLReader::readLog(std::string& bytes) {
  const ZelString path = ZelPath::directoryForm(fileName_);
  switch (platform::fileKind(path.c_str())) {
    case platform::FileKind::kMissing:
      return refuse(u"no such file");
    case platform::FileKind::kOther:
      return refuse(u"not a regular file");
    case platform::FileKind::kRegular:
      break;
  }
  ZelIfstream file(path, std::ios_base::in | std::ios_base::binary);
  if (!file) return refuse(u"cannot be opened");
  file.seekg(0, std::ios_base::end);
  std::streamoff size = file.tellg();
  file.seekg(0, std::ios_base::beg);
  if (size < 0 || !file) return refuse(u"cannot be read");
  if (size > kLargestLog) return refuse(u"too large to replay");
  // Memory running out halfway would end the host, and all the user has open in it, not just this replay.
  const uint64_t needed = static_cast<uint64_t>(size) * kReplayBytesPerLogByte;
  if (const uint64_t left = platform::memoryLeft(); needed > left) {
    constexpr uint64_t kMiB = 1 << 20;
    failure_ = ZelString(("it needs about " + std::to_string(needed / kMiB) +
                          " MiB of memory to replay, and " + std::to_string(left / kMiB) + " MiB are free")
                             .c_str());
    return false;
  }
  bytes.reserve(bytes.size() + static_cast<size_t>(size) + kRootEnd.size());
  if (!readBytes(file, size, bytes)) return refuse(u"cannot be read");
  return true;
}

bool PluginDeviceDataXMLReader::readText(ZelString& text) {
  // The root is put around the bytes rather than the text, so that the whole log is held as text only once.
  std::string bytes(kRootStart);
  if (!readLog(bytes)) return false;
  if (const char* refusal = platform::encodingRefusal(std::string_view(bytes).substr(kRootStart.size()))) {
    failure_ = ZelString(refusal);
    return false;
  }
  // No record holds a NUL; one means the file is not a log, or is damaged where the bytes after it are.
  size_t nul = bytes.find('\0');
  if (nul != std::string::npos) {
    failure_ = ZelString(u"a NUL byte at offset ");
    failure_ += ZelString(std::to_string(nul - kRootStart.size()).c_str());
    return false;
  }
  // An editor may mark a UTF-8 file as such; the mark is no text beside the records.
  if (std::string_view(bytes).substr(kRootStart.size()).starts_with(platform::kUtf8ByteOrderMark))
    bytes.erase(kRootStart.size(), platform::kUtf8ByteOrderMark.size());
  bytes += kRootEnd;
  text = logText(std::move(bytes));
  return true;
}

void PluginDeviceDataXMLReader::noteUndelivered(uint32_t number, const ZelString& name) {
  if (undelivered_++ > 0) return;
  firstUndelivered_ = ZelString(("record " + std::to_string(number) + " (").c_str());
  firstUndelivered_ += name;
  firstUndelivered_ += ZelString(u")");
}

bool PluginDeviceDataXMLReader::replay() {
  failure_ = ZelString();
  undelivered_ = 0;
  firstUndelivered_ = ZelString();
  if (!receiver_) return refuse(u"nothing to replay into");
  // A log too large for the memory left ends its own replay, not the device's worker thread.
  try {
    return play();
  } catch (const std::bad_alloc&) {
    return refuse(u"does not fit in memory");
  }
}

bool PluginDeviceDataXMLReader::play() {
  ZelString text;
  if (!readText(text)) return false;
  // The whole text is parsed before the first record plays, so a log cut off at its end delivers nothing.
  SPtr<IZelDOMXml> document;
  if (!document) return refuse(u"the host reads no XML");
  if (!document->parse(text)) {
    failure_ = parseError(*document);
    return false;
  }
  text = ZelString();
  IZelDOMXmlElement* root = document->rootElement();
  if (!root) return refuse(u"no records");
  if (holdsText(root)) return refuse(u"text outside the records");

  ParserTable parsers(receiver_.get());
  IPtr<IZelDOMXmlElementItr> records;
  records.takeOwnership(root->children());
  // A recording that failed before its first record leaves an empty file, which would replay as nothing.
  if (records) records->first();
  if (!records || records->atEnd()) return refuse(u"it holds no record");
  ZelString name;  // every record's name in turn, so that the host can refill its buffer
  if (!checkRecords(*records, parsers, name)) return false;
  uint32_t number = 0;
  for (records->first(); !records->atEnd(); records->next()) {
    ++number;
    IZelDOMXmlElement* record = records->current();
    if (!waitGap(record)) return obeyCancel();
    record->tagName(name);
    Parser* parser = parsers.find(name);
    if (parser && !parser->parse(record)) noteUndelivered(number, name);
  }
  return true;
}

bool PluginDeviceDataXMLReader::checkRecords(IZelDOMXmlElementItr& records, const ParserTable& parsers,
                                             ZelString& name) {
  uint64_t number = 0;
  for (records.first(); !records.atEnd(); records.next()) {
    ++number;
    IZelDOMXmlElement* record = records.current();
    record->tagName(name);
    Parser* parser = parsers.find(name);
    const ZelString damage = parser ? parser->damage(record) : ZelString();
    if (damage.isEmpty()) continue;
    failure_ = ZelString(("record " + std::to_string(number) + " (").c_str());
    failure_ += name;
    failure_ += ZelString(u"): ");
    failure_ += damage;
    return false;
  }
  return true;
}

uint32_t PluginDeviceDataXMLReader::gapOf(const ZelString& time) {
  const std::optional<double> milliseconds = logNumber(time);
  if (!milliseconds || std::isnan(*milliseconds) || *milliseconds < 1) return 0;
  return static_cast<uint32_t>(std::min(*milliseconds, kLongestGapMilliseconds));
}

bool PluginDeviceDataXMLReader::waitGap(IZelDOMXmlElement* record) {
  const uint32_t gap = paced_ ? gapOf(timeOf(record)) : 0;
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
