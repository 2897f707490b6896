#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/commands/command_context.h"
#include "host/gui/command_runner.h"
#include "support/module_fixture.h"
#include "support/recording_command.h"

namespace {

// Asks to be finished from its buttons (1: applied, any other: cancelled), from activate when told to, and
// again from inside apply and cancel, where the request must change nothing.
class SelfFinishingCommand : public RecordingCommand {
 public:
  bool canRun(IZelUnknown* context) override {
    RecordingCommand::canRun(context);
    return true;
  }
  bool activate() override {
    bool activated = RecordingCommand::activate();
    if (finishWhileActivating) finishCommand(context(), *finishWhileActivating);
    return activated;
  }
  void onGuiEvent(int32_t id, int32_t value) override {
    RecordingCommand::onGuiEvent(id, value);
    finishCommand(context(), id == 1);
    record("returned");
  }
  bool apply() override {
    finishCommand(context(), false);
    return RecordingCommand::apply();
  }
  bool cancel() override {
    finishCommand(context(), true);
    return RecordingCommand::cancel();
  }

  std::optional<bool> finishWhileActivating;
};

// A callback in the view's registry, where a device emulator listens: it notes what it sees in the
// command's record, so one list shows the order, and leaves the input to whoever comes next.
class ListeningCallback : public ZelCallback {
 public:
  ListeningCallback(std::vector<std::string>& calls, int32_t id) : calls_(calls), id_(id) {}
  int32_t call(void*, void*) override {
    calls_.push_back("view callback " + std::to_string(id_));
    return 0;
  }
  int32_t id() const { return id_; }

 private:
  std::vector<std::string>& calls_;
  int32_t id_;
};

class CommandRunning : public ModuleTest {
 protected:
  HostCommandContainer& context() { return host_.gui().commandContainer(); }
  std::vector<std::string> callsSince(size_t first) {
    return {command_->calls.begin() + static_cast<std::ptrdiff_t>(first), command_->calls.end()};
  }

  IPtr<SelfFinishingCommand> command_{new SelfFinishingCommand};
  CommandRunner runner_{&host_.gui().commandContainer(), &host_.gui().dialog(), &host_.scene().view()};
};

TEST_F(CommandRunning, TheContextAnswersTheWorkingSizeAndTheHostQueriesAsSet) {
  context().setWorkingSize(2.5);
  context().setHostQueryAnswer(35, true);
  runner_.start(command_.get());
  EXPECT_TRUE(command_->containerQuery(1) == 2.5 && command_->containerQuery(2) == 0.0);
  EXPECT_TRUE(command_->hostQuery35() && !command_->hostQuery34());
}

// Each of the extended base's forwarding operations (orders 40 to 59) with the container operation it must
// reach: a value each, the container's own answer each, so that a call that lands on a neighbour, drops its
// value or loses the answer shows.
struct Forwarding {
  int order;
  std::string operation;
  intptr_t (*call)(CompBaseCmdInt&, intptr_t);
};

template <intptr_t (CompBaseCmdInt::*Operation)(intptr_t)>
intptr_t callWith(CompBaseCmdInt& command, intptr_t value) {
  return (command.*Operation)(value);
}

intptr_t callWithFlag(CompBaseCmdInt& command, intptr_t value) {
  const bool flag = value != 0;
  return command.containerCall59(&flag);
}

const std::vector<Forwarding> kForwardings = {
    {40, "main 2", callWith<&CompBaseCmdInt::containerCall40>},
    {41, "main 3", callWith<&CompBaseCmdInt::containerCall41>},
    {42, "main 4", callWith<&CompBaseCmdInt::containerCall42>},
    {43, "main 5", callWith<&CompBaseCmdInt::containerCall43>},
    {44, "main 6", callWith<&CompBaseCmdInt::containerCall44>},
    {45, "main 7", callWith<&CompBaseCmdInt::containerCall45>},
    {46, "main 8", callWith<&CompBaseCmdInt::containerCall46>},
    {47, "main 9", callWith<&CompBaseCmdInt::containerCall47>},
    {48, "third 5", callWith<&CompBaseCmdInt::containerCall48>},
    {49, "third 5", callWith<&CompBaseCmdInt::containerCall49>},
    {50, "third 7", callWith<&CompBaseCmdInt::containerCall50>},
    {51, "third 7", callWith<&CompBaseCmdInt::containerCall51>},
    {52, "main 10", callWith<&CompBaseCmdInt::containerCall52>},
    {53, "main 11", callWith<&CompBaseCmdInt::containerCall53>},
    {54, "main 12", callWith<&CompBaseCmdInt::containerCall54>},
    {55, "main 13", callWith<&CompBaseCmdInt::containerCall55>},
    {56, "main 14", callWith<&CompBaseCmdInt::containerCall56>},
    {57, "main 15", callWith<&CompBaseCmdInt::containerCall57>},
    {58, "third 8", callWith<&CompBaseCmdInt::containerCall58>},
    {59, "second 3", callWithFlag},
};

TEST_F(CommandRunning, EveryForwardingOperationReachesItsContainerOperationAndAnswersWhatItAnswers) {
  for (int number : {34, 35, 36, 37}) context().setHostQueryAnswer(number, number % 2 == 1);
  context().setWorkingSize(0.75);
  runner_.start(command_.get());
  for (const Forwarding& forwarding : kForwardings) {
    SCOPED_TRACE(forwarding.order);
    context().setAnswer(forwarding.operation, 1000 + forwarding.order);
    const size_t before = context().calls().size();
    const intptr_t value = forwarding.order == 59 ? 1 : 7 * forwarding.order;
    EXPECT_EQ(forwarding.call(*command_, value), 1000 + forwarding.order);
    const std::vector<HostCommandContainer::Call> calls = context().calls();
    ASSERT_EQ(calls.size(), before + 1) << "one container call";
    EXPECT_EQ(calls.back(), (HostCommandContainer::Call{forwarding.operation, value}));
  }
  const bool off = false;
  command_->containerCall59(&off);
  EXPECT_EQ(context().calls().back(), (HostCommandContainer::Call{"second 3", 0})) << "the flag, by value";
  EXPECT_EQ(command_->containerCall59(nullptr), 0) << "no flag to pass";
  EXPECT_EQ(command_->containerQuery(1), 0.75);
  EXPECT_TRUE(!command_->hostQuery34() && command_->hostQuery35() && !command_->hostQuery36() &&
              command_->hostQuery37());

  // Without a container, nothing reaches the host and every answer is 0.
  const size_t calls = context().calls().size();
  EXPECT_EQ(command_->setContext(nullptr), 0);
  for (const Forwarding& forwarding : kForwardings) {
    SCOPED_TRACE(forwarding.order);
    EXPECT_EQ(forwarding.call(*command_, 1), 0);
  }
  EXPECT_EQ(command_->containerQuery(1), 0.0);
  EXPECT_FALSE(command_->hostQuery35() || command_->hostQuery37());
  EXPECT_EQ(context().calls().size(), calls);
  command_->setContext(static_cast<IComponentCommandContainerInt*>(&context()));
}

TEST_F(CommandRunning, TheContextReportsTheHostsFlagsTheRunningCommandAndTheDocument) {
  IZelUnknown* asked = static_cast<IComponentCommandContainerV2*>(&context());
  for (const char* name : {"inCommand", "recordingMacro", "sectionCurrent", "boundaryCurrent"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(contextFlag(asked, name));
    EXPECT_TRUE(context().setFlag(name, true));
    EXPECT_TRUE(contextFlag(asked, name));
    context().setFlag(name, false);
  }
  EXPECT_FALSE(context().setFlag("singleObjectActive", true)) << "it follows the document";
  EXPECT_FALSE(context().setFlag("recording", true) || contextFlag(asked, "recording"));
  EXPECT_FALSE(contextFlag(nullptr, "inCommand") || contextHoldsObject(nullptr, "World"));

  HostDocument& doc = host_.document().doc();
  IPtr<HostDocObject> part = doc.add({"Point", u"Part", {}, {}, {}}, false);
  IPtr<HostDocObject> result = doc.add({"Point", u"Result", {}, {}, {}}, false);
  EXPECT_TRUE(contextHoldsObject(asked, "World") && !contextHoldsObject(asked, "Result"));
  ASSERT_TRUE(doc.setCurrentObject(result.get()) && doc.setActiveObject(part.get()));
  EXPECT_TRUE(contextHoldsObject(asked, "Result") && !contextHoldsObject(asked, "World"));
  EXPECT_TRUE(contextFlag(asked, "singleObjectActive"));
  EXPECT_TRUE(contextHasFeatures(asked, 0) && !contextHasFeatures(asked, 1)) << "the part holds no feature";
  doc.remove(part.get());
  EXPECT_FALSE(contextFlag(asked, "singleObjectActive")) << "a removed object is active no more";

  EXPECT_EQ(runner_.start(command_.get()), CommandRunner::Start::kStarted);
  EXPECT_TRUE(contextFlag(asked, "inCommand"));
  runner_.apply();
  EXPECT_FALSE(contextFlag(asked, "inCommand"));
}

TEST_F(CommandRunning, ACommandAskingToFinishIsEndedAsAnApplyOrACancelFromOutside) {
  struct Case {
    int32_t button;
    std::vector<std::string> ending;
  };
  const Case cases[] = {
      {1, {"gui event 1 1", "canApply", "apply", "deactivate", "returned"}},
      {2, {"gui event 2 1", "cancel", "deactivate", "returned"}},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.button);
    ASSERT_EQ(runner_.start(command_.get()), CommandRunner::Start::kStarted);
    host_.gui().dialog().addControl(each.button, "button", ZelString(u"Finish"));
    size_t before = command_->calls.size();
    ASSERT_TRUE(host_.gui().dialog().pressButton(each.button));
    EXPECT_EQ(callsSince(before), each.ending);
    EXPECT_EQ(runner_.running(), nullptr);
    EXPECT_TRUE(host_.gui().dialog().controls().empty()) << "the dialog is closed";
  }
}

TEST_F(CommandRunning, FinishIsCalledOnlyWhenAskedAndOnlyWhileTheCommandRuns) {
  EXPECT_FALSE(runner_.finish()) << "none runs";
  ASSERT_EQ(runner_.start(command_.get()), CommandRunner::Start::kStarted);
  size_t before = command_->calls.size();
  EXPECT_TRUE(runner_.finish());
  EXPECT_TRUE(runner_.apply());
  EXPECT_EQ(callsSince(before), (std::vector<std::string>{"finish", "canApply", "apply", "deactivate"}));
  EXPECT_FALSE(runner_.finish());

  ASSERT_EQ(runner_.start(command_.get()), CommandRunner::Start::kStarted);
  before = command_->calls.size();
  EXPECT_TRUE(runner_.cancel());
  EXPECT_EQ(callsSince(before), (std::vector<std::string>{"cancel", "deactivate"}));
}

TEST_F(CommandRunning, AFinishAskedDuringActivationEndsTheCommandOnceItIsActive) {
  command_->finishWhileActivating = false;
  EXPECT_EQ(runner_.start(command_.get()), CommandRunner::Start::kStarted);
  EXPECT_EQ(callsSince(command_->calls.size() - 3),
            (std::vector<std::string>{"activate", "cancel", "deactivate"}));
  EXPECT_EQ(runner_.running(), nullptr);
  command_->finishWhileActivating.reset();
  runner_.finishRunning(true);  // none runs: nothing happens
  EXPECT_EQ(command_->calls.back(), "deactivate");
}

TEST_F(CommandRunning, PointerAndKeyInputReachTheViewsCallbacksThenTheCommandThenTheView) {
  HostCallbackObject& view = host_.scene().callbacks();
  std::vector<ListeningCallback> listeners;
  for (int32_t id : {4, 5, 6, 7, 9, 10}) listeners.emplace_back(command_->calls, id);
  for (ListeningCallback& each : listeners) ASSERT_TRUE(view.addCallback(each.id(), &view, &each, 0));
  ASSERT_EQ(runner_.start(command_.get()), CommandRunner::Start::kStarted);
  view.clear();
  size_t before = command_->calls.size();
  using Mouse = HostGfxViewMgr::MouseCallback;
  using Key = HostGfxViewMgr::KeyCallback;
  HostGfxViewMgr& input = host_.scene().view();
  input.injectMouse(Mouse::kDown, {.button = 2});
  input.injectMouse(Mouse::kMove, {.button = 2});
  input.injectMouse(Mouse::kClick, {.button = 2});
  input.injectMouse(Mouse::kDoubleClick, {});
  input.injectKey(Key::kPress, 294);
  input.injectKey(Key::kRelease, 294);
  EXPECT_EQ(
      callsSince(before),
      (std::vector<std::string>{"view callback 4", "mouse press 2", "view callback 7", "mouse move 2",
                                "view callback 5", "mouse release 2", "view callback 6", "view callback 9",
                                "key press 294", "view callback 10", "key release 294"}));
  EXPECT_EQ(view.received(), (std::vector<int32_t>{4, 7, 5, 6, 9, 10})) << "the command handled none";
  runner_.apply();
  before = command_->calls.size();
  input.injectKey(Key::kPress, 1);
  EXPECT_EQ(callsSince(before), std::vector<std::string>{"view callback 9"}) << "an ended command hears none";
  for (ListeningCallback& each : listeners) view.removeCallback(each.id(), &view, &each, 0);
}

}  // namespace
