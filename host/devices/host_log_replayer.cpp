#include "host/devices/host_log_replayer.h"

#include <set>
#include <vector>

#include "framework/object/query_chain.h"
#include "host/core/module_path.h"
#include "platform/utf8.h"

namespace {

// The record's texts as the handlers take them: the text as UTF-8, or no text at all.
std::vector<ZelCString> textsOf(const HostLogRecord& record) {
  std::vector<ZelCString> texts;
  if (record.text.empty()) return texts;
  std::string utf8 = platform::toUtf8(record.text);
  texts.emplace_back(utf8.c_str(), static_cast<int32_t>(utf8.size()));
  return texts;
}

// The texts of the log's records of errors shown while it was recorded, read on a reader of its own.
std::vector<std::u16string> errorsShownIn(const std::string& path) {
  std::vector<std::u16string> errors;
  HostLogReader reader;
  if (!reader.open(path)) return errors;
  HostLogRecord record;
  while (reader.next(record) == HostLogReader::Status::kRecord) {
    if (record.kind == kErrorShownRecord) errors.push_back(record.text);
  }
  return errors;
}

}  // namespace

bool HostLogReplayer::startReplay(const std::string& path) {
  auto reader = std::make_unique<HostLogReader>();
  bool opened = reader->open(path);
  std::vector<std::u16string> recordedErrors = opened ? errorsShownIn(path) : std::vector<std::u16string>();
  std::lock_guard lock(mutex_);
  endLocked();
  damage_.clear();
  passedOver_ = 0;
  unplayedAcquisitions_.clear();
  acquisitionKinds_.clear();
  for (const auto& [kind, handler] : handlers_) noteAcquisitionKindLocked(kind, *handler);
  recordedErrors_ = std::move(recordedErrors);
  if (!opened) return false;
  reader_ = std::move(reader);
  path_ = path;
  return true;
}

void HostLogReplayer::noteDamageLocked() {
  damage_ = "line " + std::to_string(reader_->lineNumber()) + " " + reader_->damage();
}

void HostLogReplayer::noteAcquisitionKindLocked(const std::string& kind, ILogEventHandler& handler) {
  void* kinds = nullptr;
  handler.queryInterface(IAcquisitionRecordKinds::interfaceName, &kinds, false);
  if (kinds && static_cast<IAcquisitionRecordKinds*>(kinds)->recordsAcquisition(ZelCString(kind.c_str())))
    acquisitionKinds_.insert(kind);
}

void HostLogReplayer::endLocked() {
  reader_.reset();
  path_.clear();
}

bool HostLogReplayer::isReplaying() {
  std::lock_guard lock(mutex_);
  return reader_ != nullptr;
}

ZelString HostLogReplayer::currentLogFile() {
  std::lock_guard lock(mutex_);
  return givenPathOf(path_);
}

bool HostLogReplayer::takeNext(HostLogRecord& record, Handler& handler) {
  std::lock_guard lock(mutex_);
  if (!reader_) return false;
  HostLogReader::Status status = reader_->next(record);
  if (status == HostLogReader::Status::kDamaged) noteDamageLocked();
  if (status != HostLogReader::Status::kRecord) {
    endLocked();
    return false;
  }
  auto found = handlers_.find(record.kind);
  if (found == handlers_.end()) {
    // The host's own notes of errors shown were read when the replay started; they are no one's to play.
    if (record.kind != kErrorShownRecord) ++passedOver_;
    return true;
  }
  handler = found->second;
  return true;
}

bool HostLogReplayer::replayNext() {
  HostLogRecord record;
  Handler handler;
  if (!takeNext(record, handler)) return false;
  if (handler) handler->handleRecord(ZelCString(record.kind.c_str()), textsOf(record));
  return true;
}

void HostLogReplayer::addHandler(const ZelCString& kind, ILogEventHandler* handler) {
  if (kind.isEmpty() || !handler) return;
  Handler replaced(handler);  // swapped with the one registered before, which is let go of after the lock
  std::lock_guard lock(mutex_);
  std::swap(handlers_[kind.c_str()], replaced);
  noteAcquisitionKindLocked(kind.c_str(), *handler);
}

void HostLogReplayer::removeHandler(const ZelCString& kind) {
  Handler removed;
  std::lock_guard lock(mutex_);
  auto found = handlers_.find(kind.c_str());
  if (found == handlers_.end()) return;
  removed = std::move(found->second);
  handlers_.erase(found);
}

void HostLogReplayer::interruptReplay() {
  std::vector<Handler> handlers;
  {
    std::lock_guard lock(mutex_);
    endLocked();
    for (const auto& [kind, handler] : handlers_) handlers.push_back(handler);
  }
  // One handler is often registered for several kinds: each is told once.
  std::set<IZelUnknown*> told;
  for (const Handler& handler : handlers) {
    if (!told.insert(handler.get()).second) continue;
    void* part = nullptr;
    handler->queryInterface(IInterruptibleLogEventHandler::interfaceName, &part, false);
    if (part) static_cast<IInterruptibleLogEventHandler*>(part)->interrupt();
  }
}

void HostLogReplayer::reportUnplayedAcquisition(const ZelString& why) {
  std::string text = platform::toUtf8(why.c_str());
  std::lock_guard lock(mutex_);
  unplayedAcquisitions_.push_back(std::move(text));
}

std::vector<std::string> HostLogReplayer::unplayedAcquisitions() {
  std::lock_guard lock(mutex_);
  return unplayedAcquisitions_;
}

HostLogReplayer::Unplayed HostLogReplayer::readToTheEnd() {
  Unplayed unplayed;
  std::lock_guard lock(mutex_);
  if (!reader_) return unplayed;
  HostLogRecord record;
  HostLogReader::Status status;
  while ((status = reader_->next(record)) == HostLogReader::Status::kRecord) {
    if (!acquisitionKinds_.contains(record.kind)) continue;
    if (unplayed.acquisitions++ == 0) unplayed.firstLine = reader_->lineNumber();
  }
  if (status == HostLogReader::Status::kDamaged) noteDamageLocked();
  endLocked();
  return unplayed;
}

std::string HostLogReplayer::damage() {
  std::lock_guard lock(mutex_);
  return damage_;
}

size_t HostLogReplayer::passedOver() {
  std::lock_guard lock(mutex_);
  return passedOver_;
}

std::vector<std::u16string> HostLogReplayer::recordedErrors() {
  std::lock_guard lock(mutex_);
  return recordedErrors_;
}

void HostLogReplayer::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<ILogReplayer>(this)
      .offer<ILogReplayerReports>(this)
      .end();
}
