#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/object/iptr.h"
#include "host/api/callback_object.h"
#include "host/api/gfx_view.h"
#include "host/api/view_input.h"
#include "support/module_fixture.h"

namespace {

using MouseCallback = HostGfxViewMgr::MouseCallback;
using KeyCallback = HostGfxViewMgr::KeyCallback;

// A module's callback. As the emulator does, it keeps the view's data (valid only during the call) wrapped
// in the host's own data objects, and answers as it is told.
class TestCallback : public ZelCallback {
 public:
  explicit TestCallback(int32_t answer = 1) : answer_(answer) {}
  int32_t call(void* data, void*) override {
    auto* unknown = static_cast<IZelUnknown*>(data);
    calls.push_back({wrapMouse(unknown), wrapKey(unknown)});
    if (duringCall) duringCall();
    return answer_;
  }
  struct Call {
    IPtr<IZelMouseData> mouse;
    IPtr<IZelKeyDataV2> key;
  };
  std::vector<Call> calls;
  std::function<void()> duringCall;

 private:
  template <class T>
  static T* partOf(IZelUnknown* object) {
    void* part = nullptr;
    object->queryInterface(T::interfaceName, &part, false);
    return static_cast<T*>(part);
  }
  static IPtr<IZelMouseData> wrapMouse(IZelUnknown* data) {
    IPtr<IZelMouseData> mouse;
    auto* view = partOf<IGfxMouseData>(data);
    if (view && mouse.getService()) mouse->setMouseData(view);
    return view ? mouse : IPtr<IZelMouseData>();
  }
  static IPtr<IZelKeyDataV2> wrapKey(IZelUnknown* data) {
    auto* view = partOf<IGfxKeyData>(data);
    IPtr<IZelKeyData> created;
    if (!view || !created.getService()) return {};
    IPtr<IZelKeyDataV2> key(partOf<IZelKeyDataV2>(created.get()));
    if (key) key->setKeyData(view);
    return key;
  }

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

TEST_F(ViewCallbacks, InjectedMouseDataReachesOnlyTheCallbackOfItsIdWithTheRayAndButton) {
  TestCallback click, move, keyPress;
  ASSERT_TRUE(add(5, click));
  ASSERT_TRUE(add(7, move));
  ASSERT_TRUE(add(9, keyPress));
  MouseInput input{2, 10, 20, {1, 2, 3}, {0, 0, -4}};
  EXPECT_EQ(host_.view().injectMouse(MouseCallback::kMove, input), 1);
  ASSERT_EQ(move.calls.size(), 1u);
  EXPECT_TRUE(click.calls.empty());
  EXPECT_TRUE(keyPress.calls.empty());
  EXPECT_TRUE(host_.callbacks().received().empty()) << "handled: the view's own handling is not reached";

  IZelMouseData* mouse = move.calls[0].mouse.get();
  ASSERT_TRUE(mouse);
  EXPECT_FALSE(move.calls[0].key);
  EXPECT_EQ(mouse->button(), 2);
  double origin[3], direction[3];
  ASSERT_TRUE(mouse->pickRay(origin, direction));
  EXPECT_EQ(std::vector<double>(origin, origin + 3), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(std::vector<double>(direction, direction + 3), (std::vector<double>{0, 0, -1})) << "unit length";
}

TEST_F(ViewCallbacks, InjectedKeyDataReachesOnlyTheCallbackOfItsIdWithItsCode) {
  TestCallback press, release, move;
  add(9, press);
  add(10, release);
  add(7, move);
  host_.view().injectKey(KeyCallback::kRelease, 299);
  ASSERT_EQ(release.calls.size(), 1u);
  EXPECT_TRUE(press.calls.empty());
  EXPECT_TRUE(move.calls.empty());
  EXPECT_FALSE(release.calls[0].mouse);
  ASSERT_TRUE(release.calls[0].key);
  EXPECT_EQ(release.calls[0].key->keyCode(), 299);
}

TEST_F(ViewCallbacks, ACallbackThatDoesNotHandleItPassesItOnAndTheViewHandlesItLast) {
  TestCallback declines(0), handles(1), never(1);
  add(7, declines);
  add(7, handles);
  add(7, never);
  host_.view().injectMouse(MouseCallback::kMove, {});
  EXPECT_EQ(declines.calls.size(), 1u);
  EXPECT_EQ(handles.calls.size(), 1u);
  EXPECT_TRUE(never.calls.empty()) << "the first that handles it ends the callback";
  remove(7, handles);
  host_.view().injectMouse(MouseCallback::kMove, {});
  EXPECT_EQ(never.calls.size(), 1u);
  remove(7, never);
  host_.view().injectMouse(MouseCallback::kMove, {});
  EXPECT_EQ(host_.callbacks().received(), std::vector<int32_t>{7});
}

TEST_F(ViewCallbacks, ACallbackRemovedByAnEarlierOneInTheSameCallbackIsNotCalled) {
  TestCallback first(0), second;
  add(5, first);
  add(5, second);
  first.duringCall = [&] { remove(5, second); };
  host_.view().injectMouse(MouseCallback::kClick, {});
  EXPECT_TRUE(second.calls.empty());
  EXPECT_EQ(host_.callbacks().received(), std::vector<int32_t>{5});
}

TEST_F(ViewCallbacks, TheRegistryTakesEachEntryOnceAndOnlyForTheViewsIds) {
  TestCallback callback;
  EXPECT_TRUE(add(4, callback));
  EXPECT_FALSE(add(4, callback));
  EXPECT_FALSE(add(12, callback));
  EXPECT_FALSE(add(-1, callback));
  EXPECT_FALSE(registry_->addCallback(4, registry_.get(), nullptr, 0));
  EXPECT_FALSE(registry_->removeCallback(4, registry_.get(), &callback, 1))
      << "all four values name an entry";
  EXPECT_TRUE(remove(4, callback));
  EXPECT_EQ(host_.callbacks().registeredCallbacks(), 0u);
}

}  // namespace
