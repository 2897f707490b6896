#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <tuple>

#include "framework/commands/comp_base_cmd.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/statistics.h"
#include "framework/host_glue/unit_service.h"
#include "framework/settings/palpera_settings.h"
#include "framework/widgets/zel_callback_object.h"
#include "framework/widgets/zel_widget.h"
#include "host_api/gfx_renderer.h"
#include "host_api/unit_service.h"
#include "support/module_fixture.h"

namespace {

using HostGlue = ModuleTest;

TEST_F(HostGlue, TheReferenceObjectIsShownInMode1AndThePreviousModeIsHandedBackUnlessMissingOrAlreadyThere) {
  auto addReference = [&](const char16_t* name, int32_t displayMode) -> HostGfxObject& {
    IPtr<HostDocObject> reference = host_.document().doc().add({"Mesh", name, std::nullopt, {}, {}}, false);
    reference->graphics().setDisplayMode(displayMode);
    return reference->graphics();
  };
  addReference(u"Other", 4);
  EXPECT_FALSE(showReferenceObject().graphics);
  HostGfxObject& graphics = addReference(u"RefObject", 4);
  ShownReference shown = showReferenceObject();
  EXPECT_EQ(graphics.displayMode(), 1);
  ASSERT_TRUE(shown.graphics);
  EXPECT_EQ(shown.previousMode, 4);
  EXPECT_FALSE(showReferenceObject().graphics) << "already in mode 1: nothing to restore";
  shown.graphics->setDisplayMode(shown.previousMode);
  EXPECT_EQ(graphics.displayMode(), 4);
}

TEST_F(HostGlue, APointObjectIsANamedDocumentObjectWithAnEmptyArrayUntilRemoved) {
  IPtr<IZelDocObject> object = createPointObject(ZelString(u"Capture 1"));
  ASSERT_TRUE(object);
  EXPECT_EQ(object->refCount(), 2u) << "the caller's reference and the document's";
  EXPECT_EQ(std::u16string(object->objectName().c_str()), u"Capture 1");
  EXPECT_STREQ(object->objectType(), "Point");
  double matrix[16];
  EXPECT_FALSE(object->transform(matrix));
  std::vector<IPtr<HostDocObject>> objects = host_.document().doc().objects();
  ASSERT_EQ(objects.size(), 1u);
  auto* points = objects[0]->dataAs<IZelPoints>();
  ASSERT_NE(points, nullptr);
  ASSERT_NE(points->array(), nullptr);
  EXPECT_EQ(std::tuple(points->array()->count(), points->array()->entryWidth()), std::tuple(0, 3))
      << "a width of 1 gives 3-D points";
  objects.clear();

  removeObjectFromDocument(object.get());
  EXPECT_TRUE(host_.document().doc().objects().empty());
  EXPECT_EQ(object->refCount(), 1u) << "only the caller holds it now";
  SPtr<IZelObjectRemover> remover;
  EXPECT_FALSE(remover->removeObject(object.get(), 0, true)) << "an object leaves the document once";
}

// The probing commands switch a user in metres (7) to millimetres (1); both are units the host can make
// current.
TEST_F(HostGlue, UnitsComeFromTheHostsUnitServiceElseUnit7AndFactor1) {
  HostUnitService& host = host_.core().units();
  ASSERT_TRUE(UnitService::setCurrentLengthUnit(7));
  EXPECT_EQ(UnitService::currentLengthUnit(), 7);
  EXPECT_TRUE(UnitService::setCurrentLengthUnit(1));
  EXPECT_FALSE(UnitService::setCurrentLengthUnit(5));
  EXPECT_EQ(host.currentLengthUnit(), 1);
  for (int32_t code = -1; code <= 8; ++code) {
    SCOPED_TRACE(code);
    const double factor = UnitService::unitFactor(code);
    EXPECT_TRUE(factor == host.unitFactor(code) || (std::isnan(factor) && std::isnan(host.unitFactor(code))));
    EXPECT_EQ(UnitService::unitName(code), host.unitName(code));
  }
  host_.root().setService(IUnitService::interfaceName, nullptr);
  EXPECT_EQ(UnitService::currentLengthUnit(), 7);
  EXPECT_EQ(UnitService::unitFactor(HostUnitService::kMillimetre), 1.0);
  EXPECT_FALSE(UnitService::setCurrentLengthUnit(1));
  EXPECT_EQ(UnitService::unitName(7).c_str(), std::u16string());
}

TEST_F(HostGlue, NestedRendererScopesCloseBalancedBrackets) {
  {
    RendererScope outer;
    {
      RendererScope inner;
      EXPECT_EQ(host_.scene().renderer().counts().depth, 2);
    }
    EXPECT_EQ(host_.scene().renderer().counts().depth, 1);
    requestRedraw(false);
  }
  HostGfxRenderer::Counts counts = host_.scene().renderer().counts();
  EXPECT_EQ(std::tuple(counts.depth, counts.begins, counts.ends, counts.unmatchedEnds, counts.redraws),
            std::tuple(0, 2, 2, 0, 1));
}

class BareCommand : public CompBaseCmd {};

TEST(CommandBase, ABareCommandMayRunNeverButAgreesToEveryStepAndAnswersNoHostQuery) {
  IPtr<BareCommand> command(new BareCommand);
  EXPECT_EQ(std::tuple(command->kind(), command->canRun(nullptr)), std::tuple(3u, false));
  EXPECT_TRUE(command->activate() && command->canApply() && command->apply() && command->cancel());
  EXPECT_EQ(command->hostQuery33(), 1u);
  EXPECT_FALSE(command->hostQuery34() || command->hostQuery35() || command->hostQuery36() ||
               command->hostQuery37());
}

// A virtual operation's slot in its class's table, or -1: in the Itanium C++ ABI a member pointer to a
// virtual operation holds its slot's byte offset plus 1 (on ARM: the offset, the adjustment's low bit set).
template <class Operation>
std::ptrdiff_t slotOf(Operation operation) {
  std::uintptr_t raw[2];  // the pointer or offset, then the adjustment
  static_assert(sizeof(operation) == sizeof(raw));
  std::memcpy(raw, &operation, sizeof raw);
#if defined(__arm__) || defined(__aarch64__)
  return (raw[1] & 1) ? static_cast<std::ptrdiff_t>(raw[0] / sizeof(void*)) : -1;
#else
  return (raw[0] & 1) ? static_cast<std::ptrdiff_t>((raw[0] - 1) / sizeof(void*)) : -1;
#endif
}

// The host reaches a command's operations by their place: context right after the command operations, then
// queryInterface and className, which the base overrides, then the extended base's 21 forwarding operations.
TEST(CommandBase, ContextAndTheForwardingOperationsHoldTheirPlacesAfterTheCommandOperations) {
  const std::ptrdiff_t context = slotOf(&CompBaseCmd::context);
  EXPECT_EQ(context, slotOf(&CompBaseCmd::onKeyRelease) + 1);
  EXPECT_EQ(slotOf(&CompBaseCmdInt::containerQuery), context + 3);
  EXPECT_EQ(slotOf(&CompBaseCmdInt::containerCall58), context + 22);
  EXPECT_EQ(slotOf(&CompBaseCmdInt::containerCall59), context + 23);
}

class NamedWidget : public ZelWidget {
 public:
  static constexpr int32_t kControls = 15;
  bool buildGui(IGuiDialog* dialog, const ZelString*) override {
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

TEST_F(HostGlue, TwoWidgetsGetDisjointControlIdBlocks) {
  IPtr<NamedWidget> first(new NamedWidget), second(new NamedWidget);
  for (NamedWidget* widget : {first.get(), second.get()}) widget->buildGui(&host_.gui().dialog(), nullptr);
  int32_t a = first->idBase(), b = second->idBase();
  EXPECT_TRUE(a + NamedWidget::kControls <= b || b + NamedWidget::kControls <= a) << a << " and " << b;
  EXPECT_EQ(second->controlId({2, "Flip"}).number, b + 2);
}

TEST(NotComputed, MarksThe34e38DefaultButNotTheFloatBound) {
  EXPECT_EQ(std::tuple(isNotComputed(kNotComputed), isNotComputed(kFloatMax)), std::tuple(true, false));
}

TEST_F(HostGlue, EveryCallbackReachesTheHostDefaultUnderItsOwnId) {
  IPtr<ZelCallbackObject> callbacks(new ZelCallbackObject);
  using Operation = int32_t (ICallbackObject::*)(void*, void*);
  const Operation operations[] = {
      &ICallbackObject::onActivate,         &ICallbackObject::onDeactivate, &ICallbackObject::onPaint,
      &ICallbackObject::onResize,           &ICallbackObject::onMouseDown,  &ICallbackObject::onMouseClick,
      &ICallbackObject::onMouseDoubleClick, &ICallbackObject::onMouseMove,  &ICallbackObject::onMouseWheel,
      &ICallbackObject::onKeyPress,         &ICallbackObject::onKeyRelease, &ICallbackObject::onIdle,
  };
  for (Operation operation : operations) EXPECT_EQ((callbacks.get()->*operation)(nullptr, nullptr), 1);
  EXPECT_EQ(callbacks->internalCallback(nullptr, nullptr), 1);
  EXPECT_EQ(
      host_.scene().callbacks().received(),
      (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, HostCallbackObject::kInternalCallback}));
}

class Ignoring : public ZelCallback {
 public:
  int32_t call(void*, void*) override { return 0; }
};

TEST_F(HostGlue, CallbacksAddedThroughTheModulesObjectJoinTheViewsRegistryWhileThereIsOne) {
  IPtr<ZelCallbackObject> callbacks(new ZelCallbackObject);
  Ignoring callback;
  EXPECT_TRUE(callbacks->addCallback(7, callbacks.get(), &callback, 0));
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), 1u);
  EXPECT_TRUE(callbacks->removeCallback(7, callbacks.get(), &callback, 0));
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), 0u);
  host_.root().setService(ICallbackObject::interfaceName, nullptr);
  IPtr<ZelCallbackObject> orphan(new ZelCallbackObject);
  EXPECT_EQ(orphan->onPaint(nullptr, nullptr), 0) << "without the host's default nothing is handled";
  EXPECT_EQ(orphan->internalCallback(nullptr, nullptr), 0);
  EXPECT_FALSE(orphan->addCallback(7, orphan.get(), &callback, 0)) << "no registry to join";
  EXPECT_TRUE(host_.scene().callbacks().received().empty());
}

}  // namespace
