#pragma once

// The stand-in host's command container: the context a command is run in. It answers the container query 1
// with the working size in metres (1 until set) and every other query with 0, the host queries 34 to 37 as
// set (false until set), and hands a command the argument text the host starts it with.
//
// The context's flags, object test and feature test are IComponentCommandContainerV2's. The host sets
// "recordingMacro", "sectionCurrent", "boundaryCurrent" and its own "inCommand" (a command of the host's
// runs); "inCommand" also holds while the command runner runs one of the module's commands;
// "singleObjectActive", the object test and the feature test follow the document. A command's request to be
// finished goes to the runner that runs it. Safe on any thread; the finish request belongs to the GUI thread.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host/document/host_document.h"
#include "host_api/component_command.h"

// What ends the running command when it asks (the command runner).
class CommandFinisher {
 public:
  virtual ~CommandFinisher() = default;
  virtual void finishRunning(bool applied) = 0;
};

class HostCommandContainer : public IComponentCommandContainerInt,
                             public IComponentCommandContainerV2,
                             public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCommandContainer";
  static constexpr int32_t kWorkingSizeQuery = 1;

  // The document the flags and tests follow; it must outlive the container.
  explicit HostCommandContainer(HostDocument& document);

  double query(int32_t what) override;
  bool hostQuery(int32_t number) override;
  ZelCString argumentText() override;
  bool flag(const char* name) override;
  bool holdsObject(const char* name) override;
  bool ready() override { return ready_; }
  bool allowsType(const char* type) override;
  bool hasFeatures(int32_t count) override;
  void finishCommand(bool applied) override;

  void setWorkingSize(double metres) { workingSize_ = metres; }
  void setHostQueryAnswer(int32_t number, bool answer);
  // Sets a flag the host keeps ("inCommand", "recordingMacro", "sectionCurrent", "boundaryCurrent"); false,
  // changing nothing, for any other name, "singleObjectActive" included.
  bool setFlag(const std::string& name, bool on);
  // The flags the host keeps that are set now, by name.
  std::vector<std::string> flagsSet();
  // Ready and every type allowed until the host says otherwise.
  void setReady(bool ready) { ready_ = ready; }
  void setTypeAllowed(const std::string& type, bool allowed);
  void setInCommand(bool on) { setFlag(kInCommand, on); }
  void setRecordingMacro(bool on) { setFlag(kRecordingMacro, on); }
  // The argument text of the command the host starts next; it stays until it is set again.
  void setArgumentText(const std::string& text);
  // The runner of the module's commands: it runs one from now on (null: none any more). Held without a
  // reference.
  void setFinisher(CommandFinisher* finisher) { finisher_ = finisher; }
  void setCommandRunning(bool running) { commandRunning_ = running; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  HostDocument& document_;
  std::atomic<double> workingSize_{1.0};
  std::atomic<bool> commandRunning_{false};
  std::atomic<CommandFinisher*> finisher_{nullptr};
  std::mutex mutex_;
  std::map<int32_t, bool> hostQueryAnswers_;  // guarded by mutex_
  std::string argumentText_;                  // guarded by mutex_
  std::map<std::string, bool> flags_;         // guarded by mutex_, the flags the host keeps
  std::set<std::string> barredTypes_;         // guarded by mutex_
  std::atomic<bool> ready_{true};
};
