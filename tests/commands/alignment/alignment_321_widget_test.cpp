// The 3-2-1 plane panel built into the host's dialog as "Orient To World" builds it, with the emulator as the
// current plug-in and a test device as "HardProbe" that the tests feed as the arm would.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "commands/alignment/alignment_321_widget.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "tests/commands/support/hard_probe_fixture.h"

namespace {

using W = Alignment321Widget;

// The signed unit axis of a code.
Vector3 axisOf(uint32_t code) {
  Vector3 v;
  const double sign = code % 2 == 1 ? 1.0 : -1.0;
  (code <= 2 ? v.x : code <= 4 ? v.y : v.z) = sign;
  return v;
}

class Notifications : public IZelListener, public ZelUnknownImpl {
 public:
  void onNotify(const char* event, IZelSubject*, void* data) override {
    events.emplace_back(event);
    if (std::strcmp(event, "NewTransform") == 0 && data) std::memcpy(transform.m, data, sizeof transform.m);
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Notifications", this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return "Notifications"; }

  std::vector<std::string> events;
  Matrix4x4 transform;
};

class Alignment321WidgetTest : public HardProbeTest {
 protected:
  void SetUp() override {
    HardProbeTest::SetUp();
    widget_.createInstance(classIdOf("Alignment321Widget"));
    ASSERT_TRUE(widget_);
    ASSERT_TRUE(widget_->buildGui(&dialog(), nullptr));
    base_ = dialog().idOf(u":Alignment321Widget:Box").value_or(-1000);
    widget_->attach(&notifications_);
    widget_->setPlugin(plugin_);
    ASSERT_TRUE(widget_->activate());
  }
  void TearDown() override {
    widget_->deactivate();
    widget_->detach(&notifications_);
    widget_.release();
    HardProbeTest::TearDown();
  }

  HostGuiDialog& dialog() { return host_.gui().dialog(); }
  bool press(int32_t control) { return dialog().pressButton(base_ + control); }
  bool enabled(int32_t control) { return dialog().isControlEnabled(base_ + control); }
  std::u16string label() { return dialog().control(base_ + W::kOrderLabel)->text; }

  IPtr<W> widget_;
  Notifications notifications_;
  int32_t base_ = 0;
};

TEST_F(Alignment321WidgetTest, BuildsSixPictureTogglesResetAndTheLabel) {
  const char* images[] = {"xplus", "xminus", "yplus", "yminus", "zplus", "zminus"};
  for (int32_t code = 1; code <= 6; ++code) {
    SCOPED_TRACE(code);
    std::optional<DialogControl> button = dialog().control(base_ + code);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->kind, "imagetoggle");
    EXPECT_EQ(button->picture, base_ + code + 6);
    EXPECT_EQ(dialog().picture(base_ + code + 6), images[code - 1]);
    EXPECT_TRUE(button->enabled);
  }
  EXPECT_EQ(dialog().control(base_ + 1)->text, u"Positive X");
  EXPECT_EQ(dialog().control(base_ + 6)->name, u":Alignment321Widget:NegZ");
  EXPECT_EQ(dialog().control(base_ + W::kReset)->name, u":Alignment321Widget:ResetButton");
  EXPECT_FALSE(enabled(W::kReset));
  EXPECT_EQ(label(), u"<B></B>Plane 1: <BR>Plane 2: <BR>Plane 3: ");

  widget_->setEnabled(false);
  EXPECT_FALSE(widget_->isEnabled());
  EXPECT_FALSE(press(W::kPlusX)) << "the box holds the buttons";
  widget_->setEnabled(true);
  EXPECT_TRUE(widget_->isEnabled());
}

TEST_F(Alignment321WidgetTest, TwoChoicesNameTheThirdPlaneAndLockTheButtonsUntilReset) {
  ASSERT_TRUE(press(W::kPlusX));
  EXPECT_EQ(label(), u"<B></B>Plane 1:  +X<BR>Plane 2: <BR>Plane 3: ");
  EXPECT_FALSE(enabled(W::kPlusX));
  EXPECT_FALSE(enabled(W::kMinusX));
  EXPECT_TRUE(enabled(W::kPlusY));
  EXPECT_TRUE(enabled(W::kReset));
  ASSERT_TRUE(press(W::kPlusY));
  EXPECT_EQ(label(), u"<B></B>Plane 1:  +X<BR>Plane 2:  +Y<BR>Plane 3:  +Z");
  for (int32_t code = 1; code <= 6; ++code) EXPECT_FALSE(enabled(code)) << code;

  ASSERT_TRUE(press(W::kReset));
  EXPECT_EQ(label(), u"<B></B>Plane 1: <BR>Plane 2: <BR>Plane 3: ");
  EXPECT_FALSE(enabled(W::kReset));
  ASSERT_TRUE(press(W::kMinusY));
  ASSERT_TRUE(press(W::kPlusZ));
  EXPECT_EQ(widget_->axisChoice(3), 2u) << "-Y then +Z leave -X";
  EXPECT_EQ(label(), u"<B></B>Plane 1:  -Y<BR>Plane 2:  +Z<BR>Plane 3:  -X");

  // The host's pressed buttons are not the only way in: a choice on an axis already named is refused.
  widget_->activate();
  widget_->onGuiEvent(base_ + W::kPlusZ, 1);
  widget_->onGuiEvent(base_ + W::kMinusZ, 1);
  EXPECT_EQ(widget_->axisChoice(2), W::kUnset);
}

TEST_F(Alignment321WidgetTest, TheThirdAxisIsTheCrossProductOfTheFirstTwo) {
  for (uint32_t first = 1; first <= 6; ++first) {
    for (uint32_t second = 1; second <= 6; ++second) {
      SCOPED_TRACE(testing::Message() << first << " " << second);
      const uint32_t third = W::thirdAxis(first, second);
      if ((first - 1) / 2 == (second - 1) / 2) {
        EXPECT_EQ(third, W::kUnset);
        continue;
      }
      const Vector3 expected = Vector3::cross(axisOf(first), axisOf(second));
      const Vector3 got = axisOf(third);
      EXPECT_EQ(std::tuple(got.x, got.y, got.z), std::tuple(expected.x, expected.y, expected.z));
    }
  }
}

TEST_F(Alignment321WidgetTest, StartingWithAChoiceUnsetTellsTheUserAndNotifiesNothing) {
  ASSERT_TRUE(press(W::kPlusZ));
  EXPECT_FALSE(widget_->startProbing());
  ASSERT_FALSE(host_.gui().simpleDialog().shown().empty());
  EXPECT_EQ(host_.gui().simpleDialog().shown().back().text,
            u"Specify the axis directions of the planes before probing.");
  EXPECT_EQ(host_.gui().simpleDialog().shown().back().style, 2);
  EXPECT_TRUE(notifications_.events.empty());
  EXPECT_EQ(device_->receiverCount(), 0u);
}

}  // namespace
