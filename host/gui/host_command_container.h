#pragma once

// The stand-in host's command container: the context a command is run in. It answers the container query 1
// with the working size in metres (1 until set) and every other query with 0, the host queries 34 to 37 as
// set (false until set), and keeps the context flags a command may read: whether it runs inside another
// command ("inCommand") and whether a macro is being recorded ("recordingMacro"). It also hands a command the
// argument text the host starts it with. Safe on any thread.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "host/api/component_command.h"
#include "host/core/host_unknown.h"

class HostCommandContainer : public IComponentCommandContainerInt,
                             public IComponentCommandContainerV2,
                             public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCommandContainer";
  static constexpr int32_t kWorkingSizeQuery = 1;

  double query(int32_t what) override;
  bool hostQuery(int32_t number) override;
  ZelCString argumentText() override;
  bool flag(const char* name) override;

  void setWorkingSize(double metres) { workingSize_ = metres; }
  void setHostQueryAnswer(int32_t number, bool answer);
  void setInCommand(bool on) { inCommand_ = on; }
  bool inCommand() const { return inCommand_; }
  void setRecordingMacro(bool on) { recordingMacro_ = on; }
  bool recordingMacro() const { return recordingMacro_; }
  // The argument text of the command the host starts next; it stays until it is set again.
  void setArgumentText(const std::string& text);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<double> workingSize_{1.0};
  std::atomic<bool> inCommand_{false};
  std::atomic<bool> recordingMacro_{false};
  std::mutex mutex_;
  std::map<int32_t, bool> hostQueryAnswers_;  // guarded by mutex_
  std::string argumentText_;                  // guarded by mutex_
};
