#include <gtest/gtest.h>

#include "framework/widgets/zel_callback_object.h"
#include "support/module_fixture.h"

namespace {

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
