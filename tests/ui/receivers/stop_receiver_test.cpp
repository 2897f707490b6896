#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/zel_subject.h"
#include "support/module_fixture.h"

namespace {

class EventCounter : public IZelListener, public ZelUnknownImpl {
 public:
  void onNotify(const char* event, IZelSubject*, void*) override { events.push_back(event); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("EventCounter", this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return "EventCounter"; }

  std::vector<std::string> events;
};

class StopReceiverTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    receiver_.createInstance(classIdOf("StopReceiver"));
    ASSERT_TRUE(receiver_);
    subject_ = queryPart<IZelSubject>(receiver_.get());
    ASSERT_TRUE(subject_);
    subject_->attach(counter_.get());
  }
  void TearDown() override {
    subject_->detach(counter_.get());
    receiver_.release();
    ModuleTest::TearDown();
  }

  IPtr<IZelHardProbeDataReceiver> receiver_;
  IZelSubject* subject_ = nullptr;
  IPtr<EventCounter> counter_{new EventCounter};
};

TEST_F(StopReceiverTest, OnlyTheStopPointAnErrorOrACancelEndTheStep) {
  const Vector3 point{0.1, 0.2, 0.3};
  const std::vector<std::pair<std::string, size_t>> cases = {
      {"Error", 1}, {"Cancel", 1}, {"error", 0}, {"cancel", 0}, {"UndoLastSampled", 0}, {"", 0}};
  for (const auto& [name, stops] : cases) {
    SCOPED_TRACE(name);
    counter_->events.clear();
    receiver_->onCustomEvent(ZelCString(name.c_str()), nullptr);
    EXPECT_EQ(counter_->events, std::vector<std::string>(stops, "Stop"));
  }
  counter_->events.clear();
  receiver_->setProbeRadius(0.001);
  receiver_->onMoved(point, point, point);
  receiver_->onPointSampled(point);
  EXPECT_TRUE(counter_->events.empty());
  receiver_->onPointStop(point);
  EXPECT_EQ(counter_->events, std::vector<std::string>{"Stop"});
}

}  // namespace
