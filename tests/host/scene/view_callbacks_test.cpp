#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/object/iptr.h"
#include "host_api/callback_object.h"
#include "host_api/gfx_view.h"
#include "support/module_fixture.h"

namespace {

using MouseCallback = HostGfxViewMgr::MouseCallback;

// A module's callback: it counts its calls, runs a step of the test inside each, and answers as it is told.
class TestCallback : public ZelCallback {
 public:
  explicit TestCallback(int32_t answer = 1) : answer_(answer) {}
  int32_t call(void*, void*) override {
    ++calls;
    if (duringCall) duringCall();
    return answer_;
  }
  int calls = 0;
  std::function<void()> duringCall;

 private:
  const int32_t answer_;
};

// The registry as the module reaches it: the view manager asked for "ICallbackObject".
class ViewCallbacks : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    SPtr<IGfxViewMgr> view;
    ASSERT_TRUE(view);
    void* part = nullptr;
    view->queryInterface(ICallbackObject::interfaceName, &part, false);
    registry_ = static_cast<ICallbackObject*>(part);
    ASSERT_TRUE(registry_);
  }

  bool add(int32_t id, TestCallback& callback) {
    return registry_->addCallback(id, registry_.get(), &callback, 0);
  }
  bool remove(int32_t id, TestCallback& callback) {
    return registry_->removeCallback(id, registry_.get(), &callback, 0);
  }

  IPtr<ICallbackObject> registry_;
};

TEST_F(ViewCallbacks, ACallbackThatDoesNotHandleItPassesItOnAndTheViewHandlesItLast) {
  TestCallback declines(0), handles(1), never(1), elsewhere(1);
  for (TestCallback* callback : {&declines, &handles, &never}) add(7, *callback);
  add(5, elsewhere);
  EXPECT_FALSE(add(7, never) || add(12, never) || add(-1, never))
      << "each entry once, only for the view's ids";
  EXPECT_FALSE(registry_->addCallback(4, registry_.get(), nullptr, 0));
  EXPECT_FALSE(registry_->removeCallback(7, registry_.get(), &never, 1)) << "all four values name an entry";
  host_.scene().view().injectMouse(MouseCallback::kMove, {});
  EXPECT_TRUE(declines.calls == 1 && handles.calls == 1);
  EXPECT_EQ(never.calls, 0) << "the first that handles it ends the callback";
  EXPECT_EQ(elsewhere.calls, 0) << "only the callbacks of its id";
  EXPECT_TRUE(host_.scene().callbacks().received().empty())
      << "handled: the view's own handling is not reached";
  remove(7, handles);
  host_.scene().view().injectMouse(MouseCallback::kMove, {});
  EXPECT_EQ(never.calls, 1);
  remove(7, never);
  host_.scene().view().injectMouse(MouseCallback::kMove, {});
  EXPECT_EQ(host_.scene().callbacks().received(), std::vector<int32_t>{7});
}

TEST_F(ViewCallbacks, ACallbackRemovedByAnEarlierOneInTheSameCallbackIsNotCalled) {
  TestCallback first(0), second;
  add(5, first);
  add(5, second);
  first.duringCall = [&] { remove(5, second); };
  host_.scene().view().injectMouse(MouseCallback::kClick, {});
  EXPECT_EQ(second.calls, 0);
  EXPECT_EQ(host_.scene().callbacks().received(), std::vector<int32_t>{5});
}

}  // namespace
