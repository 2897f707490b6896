#pragma once

// The stand-in host's command container: the context a command is run in. It answers the container query 1
// with the working size in metres (1 until set) and every other query with 0, the host queries 34 to 37 as
// set (false until set), and hands a command the argument text the host starts it with. Its other
// operations, whose meaning is a real host's, answer as set (0 until set) and note each call with the value
// it brought, so that what reaches them shows.
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
  intptr_t mainOperation2(intptr_t value) override { return heard("main 2", value); }
  intptr_t mainOperation3(intptr_t value) override { return heard("main 3", value); }
  intptr_t mainOperation4(intptr_t value) override { return heard("main 4", value); }
  intptr_t mainOperation5(intptr_t value) override { return heard("main 5", value); }
  intptr_t mainOperation6(intptr_t value) override { return heard("main 6", value); }
  intptr_t mainOperation7(intptr_t value) override { return heard("main 7", value); }
  intptr_t mainOperation8(intptr_t value) override { return heard("main 8", value); }
  intptr_t mainOperation9(intptr_t value) override { return heard("main 9", value); }
  intptr_t mainOperation10(intptr_t value) override { return heard("main 10", value); }
  intptr_t mainOperation11(intptr_t value) override { return heard("main 11", value); }
  intptr_t mainOperation12(intptr_t value) override { return heard("main 12", value); }
  intptr_t mainOperation13(intptr_t value) override { return heard("main 13", value); }
  intptr_t mainOperation14(intptr_t value) override { return heard("main 14", value); }
  intptr_t mainOperation15(intptr_t value) override { return heard("main 15", value); }
  bool hostQuery34() override { return hostQueryAnswer(34); }
  bool hostQuery35() override { return hostQueryAnswer(35); }
  bool hostQuery36() override { return hostQueryAnswer(36); }
  bool hostQuery37() override { return hostQueryAnswer(37); }
  intptr_t secondOperation1(intptr_t value) override { return heard("second 1", value); }
  intptr_t secondOperation2(intptr_t value) override { return heard("second 2", value); }
  intptr_t secondOperation3(bool flag) override { return heard("second 3", flag ? 1 : 0); }
  intptr_t thirdOperation1(intptr_t value) override { return heard("third 1", value); }
  intptr_t thirdOperation2(intptr_t value) override { return heard("third 2", value); }
  intptr_t thirdOperation3(intptr_t value) override { return heard("third 3", value); }
  intptr_t thirdOperation4(intptr_t value) override { return heard("third 4", value); }
  intptr_t thirdOperation5(intptr_t value) override { return heard("third 5", value); }
  intptr_t thirdOperation6(intptr_t value) override { return heard("third 6", value); }
  intptr_t thirdOperation7(intptr_t value) override { return heard("third 7", value); }
  intptr_t thirdOperation8(intptr_t value) override { return heard("third 8", value); }
  ZelCString argumentText() override;
  bool flag(const char* name) override;
  bool holdsObject(const char* name) override;
  bool ready() override { return ready_; }
  bool allowsType(const char* type) override;
  bool hasFeatures(int32_t count) override;
  void finishCommand(bool applied) override;

  void setWorkingSize(double metres) { workingSize_ = metres; }
  void setHostQueryAnswer(int32_t number, bool answer);
  // A call of an operation of the host's own meaning ("main 2" to "main 15", "second 1" to "second 3",
  // "third 1" to "third 8"), with the value it brought (a flag as 0 or 1).
  struct Call {
    std::string operation;
    intptr_t value = 0;
    bool operator==(const Call&) const = default;
  };
  // What the operation answers from now on.
  void setAnswer(const std::string& operation, intptr_t answer);
  // The calls so far, in order.
  std::vector<Call> calls();
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
  bool hostQueryAnswer(int32_t number);
  // Notes the call and gives the operation's answer.
  intptr_t heard(const char* operation, intptr_t value);

  HostDocument& document_;
  std::atomic<double> workingSize_{1.0};
  std::atomic<bool> commandRunning_{false};
  std::atomic<CommandFinisher*> finisher_{nullptr};
  std::mutex mutex_;
  std::map<int32_t, bool> hostQueryAnswers_;  // guarded by mutex_
  std::map<std::string, intptr_t> answers_;   // guarded by mutex_
  std::vector<Call> calls_;                   // guarded by mutex_
  std::string argumentText_;                  // guarded by mutex_
  std::map<std::string, bool> flags_;         // guarded by mutex_, the flags the host keeps
  std::set<std::string> barredTypes_;         // guarded by mutex_
  std::atomic<bool> ready_{true};
};
