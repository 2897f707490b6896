#include <gtest/gtest.h>

#include "framework/commands/comp_base_cmd.h"
#include "framework/host_glue/statistics.h"
#include "framework/settings/palpera_settings.h"
#include "framework/widgets/zel_callback_object.h"
#include "framework/widgets/zel_widget.h"
#include "support/module_fixture.h"

namespace {

class BareCommand : public CompBaseCmd {};
class BareCommandInt : public CompBaseCmdInt {};

TEST(CommandBase, ABareCommandMayRunNeverButAgreesToEveryStepAndAnswersNoHostQuery) {
  IPtr<BareCommand> command(new BareCommand);
  EXPECT_EQ(command->kind(), 3u);
  EXPECT_FALSE(command->canRun(nullptr));
  EXPECT_TRUE(command->activate() && command->canApply() && command->apply() && command->cancel());
  EXPECT_EQ(command->hostQuery33(), 1u);
  EXPECT_FALSE(command->hostQuery34() || command->hostQuery35() || command->hostQuery36() ||
               command->hostQuery37());
}

class NamedWidget : public ZelWidget {
 public:
  static constexpr int32_t kControls = 15;
  bool buildGui(IGuiDialog* dialog) override {
    reserveControls(dialog, kControls);
    return true;
  }
  bool activate() override { return true; }
  void deactivate() override {}
  void setEnabled(bool) override {}
  bool isEnabled() override { return true; }
  const char* className() override { return "NamedWidget"; }
};

TEST(WidgetBase, ControlIdentityJoinsWidgetClassAndControlNames) {
  IPtr<NamedWidget> widget(new NamedWidget);
  ZelWidget::ControlId unnamed = widget->controlId({3, "Offset"});
  EXPECT_STREQ(unnamed.text.c_str(), ":NamedWidget:Offset") << "a widget without a name starts with ':'";
  EXPECT_EQ(unnamed.number, 3);
  widget->setName("Section");
  EXPECT_STREQ(widget->controlId({0, "Flip"}).text.c_str(), "Section:NamedWidget:Flip");
  void* out = nullptr;
  widget->queryInterface("IGuiReceiver", &out, false);
  EXPECT_EQ(out, static_cast<IGuiReceiver*>(widget.get()));
}

using WidgetsInOneDialog = ModuleTest;

TEST_F(WidgetsInOneDialog, TwoWidgetsGetDisjointControlIdBlocks) {
  IPtr<NamedWidget> first(new NamedWidget), second(new NamedWidget);
  first->buildGui(&host_.dialog());
  second->buildGui(&host_.dialog());
  int32_t a = first->idBase(), b = second->idBase();
  EXPECT_TRUE(a + NamedWidget::kControls <= b || b + NamedWidget::kControls <= a) << a << " and " << b;
  EXPECT_EQ(second->controlId({2, "Flip"}).number, b + 2);
}

TEST(NotComputed, MarksThe34e38DefaultButNotTheFloatBound) {
  EXPECT_TRUE(isNotComputed(kNotComputed));
  EXPECT_FALSE(isNotComputed(kFloatMax));
}

using CallbackForwarding = ModuleTest;

TEST_F(CallbackForwarding, EveryCallbackReachesTheHostDefaultUnderItsOwnId) {
  IPtr<ZelCallbackObject> callbacks(new ZelCallbackObject);
  using Operation = int32_t (ICallbackObject::*)(void*, void*);
  const Operation operations[] = {
      &ICallbackObject::onActivate,         &ICallbackObject::onDeactivate, &ICallbackObject::onPaint,
      &ICallbackObject::onResize,           &ICallbackObject::onMouseDown,  &ICallbackObject::onMouseClick,
      &ICallbackObject::onMouseDoubleClick, &ICallbackObject::onMouseMove,  &ICallbackObject::onMouseWheel,
      &ICallbackObject::onKeyPress,         &ICallbackObject::onKeyRelease, &ICallbackObject::onIdle,
  };
  ICallbackObject* object = callbacks.get();
  for (Operation operation : operations) EXPECT_EQ((object->*operation)(nullptr, nullptr), 1);
  EXPECT_EQ(callbacks->internalCallback(nullptr, nullptr), 1);
  EXPECT_EQ(host_.callbacks().received(), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11,
                                                                HostCallbackObject::kInternalCallback}));
}

class Ignoring : public ZelCallback {
 public:
  int32_t call(void*, void*) override { return 0; }
};

TEST_F(CallbackForwarding, CallbacksAddedThroughTheModulesObjectJoinTheViewsRegistryWhileThereIsOne) {
  IPtr<ZelCallbackObject> callbacks(new ZelCallbackObject);
  Ignoring callback;
  EXPECT_TRUE(callbacks->addCallback(7, callbacks.get(), &callback, 0));
  EXPECT_EQ(host_.callbacks().registeredCallbacks(), 1u);
  EXPECT_TRUE(callbacks->removeCallback(7, callbacks.get(), &callback, 0));
  EXPECT_EQ(host_.callbacks().registeredCallbacks(), 0u);
  host_.root().setService(ICallbackObject::interfaceName, nullptr);
  IPtr<ZelCallbackObject> orphan(new ZelCallbackObject);
  EXPECT_EQ(orphan->onPaint(nullptr, nullptr), 0) << "without the host's default nothing is handled";
  EXPECT_EQ(orphan->internalCallback(nullptr, nullptr), 0);
  EXPECT_FALSE(orphan->addCallback(7, orphan.get(), &callback, 0)) << "no registry to join";
  EXPECT_TRUE(host_.callbacks().received().empty());
}

}  // namespace
