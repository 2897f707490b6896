#pragma once

// The host-log tests: a host with the module's settings, a scratch folder for logs and event files, and
// helpers to write a host log and read one back.

#include <string>
#include <utility>
#include <vector>

#include "devices/host_log/plugin_device_log_event_handler.h"
#include "devices/log_replay/log_replay_plugin.h"
#include "framework/registrations/registered_classes.h"
#include "host/devices/host_log_format.h"
#include "platform/utf8.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/recording_receiver.h"
#include "support/scratch_directory.h"

// A device transform shifted by (5, 6, 7), as an alignment record holds it.
inline constexpr const char* kShifted = "1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1 ";

class HostLogTestBase : public ModuleTest {
 protected:
  using Record = std::pair<std::string, std::string>;  // kind, text as UTF-8

  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    ASSERT_FALSE(folder_.system().empty());
    host_.core().dataStore().addListener(kLogReplayFinished, finished_.get());
  }
  void TearDown() override {
    host_.core().dataStore().removeListener(kLogReplayFinished, finished_.get());
    ModuleTest::TearDown();
  }

  std::string logPath() const { return folder_.system("run.log"); }

  void writeLog(const std::vector<Record>& records) {
    std::string bytes;
    for (const auto& [kind, text] : records) bytes += encodeLogRecord(kind, platform::fromUtf8(text));
    folder_.write("run.log", bytes);
  }

  std::vector<Record> readLog() {
    HostLogReader reader;
    std::vector<Record> records;
    if (!reader.open(logPath())) return records;
    HostLogRecord record;
    while (reader.next(record) == HostLogReader::Status::kRecord)
      records.emplace_back(record.kind, platform::toUtf8(record.text));
    return records;
  }

  static std::string utf8(const ZelString& s) { return platform::toUtf8(s.c_str()); }

  // How many times "Palpera/LogReplayFinished" has been heard so far.
  size_t announcements() { return finished_->heard().size(); }

  ScratchDirectory folder_;
  IPtr<RecordingReceiver> finished_{new RecordingReceiver};
};
