#pragma once

// A probing run as the feature-probing command drives it: the utility made by class id, its target object
// "TestObject" in the stand-in host's document, a test device registered as "HardProbe" whose receivers get
// the scripted device events, and one journal in which the device's calls ("removeReceiver HardProbe") and
// the utility's events ("ProbeStop") stand in the order they happened. Feature matching is off, so features
// are named by their running numbers; the probe is not shown unless a test shows it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/features/zel_hard_probe_create_features_util.h"
#include "devices/registry/izel_plugin_service.h"
#include "features/collectors/zel_feature_collector.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/zel_subject.h"
#include "support/made_by_name.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/test_device.h"
#include "support/text.h"

using Points = std::vector<Vector3>;

// Three probe-tip centres 1 mm above the plane z = 0, and a stop point on its free side.
inline const Points kPlaneTips = {{0, 0, .001}, {.1, 0, .001}, {0, .1, .001}};
inline constexpr Vector3 kAbovePlane{.05, .05, .05};
inline constexpr double kNoValue = 3.4e38;

// Notes a subject's events in the journal, and the texts and instructions that come with them.
class EventJournal : public IZelListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "EventJournal";

  explicit EventJournal(std::vector<std::string>& journal) : journal_(journal) {}

  void onNotify(const char* event, IZelSubject*, void* data) override {
    journal_.push_back(event);
    const std::string name = event;
    if (name == "BriefInstructions") brief = text(*static_cast<ZelString*>(data));
    if (name == "UserInstructions") instructions = static_cast<IZelUserInstructions*>(data);
    if (name == "PickedFeatureSubObject") {
      pickedOffered = true;
      static_cast<IZelHardProbeCreateFeaturesUtil::SubObjectData*>(data)->taken = takePicked;
    }
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return interfaceName; }

  std::u16string brief;
  IPtr<IZelUserInstructions> instructions;
  bool pickedOffered = false;
  bool takePicked = false;  // the answer to a picked feature offered

 private:
  std::vector<std::string>& journal_;
};

class ProbingRunTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    store().setInt(nullptr, "Palpera/FeatureMatching/Enable", 0);
    store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    devices_.getService();
    ASSERT_TRUE(devices_);
    devices_->setDevice(ZelCString("HardProbe"), device_.get());
    target_ = addObject(u"TestObject");
  }
  void TearDown() override {
    if (util_) {
      queryPart<IZelSubject>(util_.get())->detach(events_.get());
      util_.release();
    }
    devices_->setDevice(ZelCString("HardProbe"), nullptr);
    devices_.release();
    ModuleTest::TearDown();
  }

  IZelDocObject* addObject(const char16_t* name) {
    return host_.document().doc().add({"Point", name, std::nullopt, {}, {}}, false).get();
  }

  // A connected utility for the collector class, its events journaled; not yet started.
  IZelHardProbeCreateFeaturesUtil& util(const char* collectorClassName) {
    util_.createInstance(classIdOf("HardProbeCreateFeaturesUtil"));
    EXPECT_TRUE(util_);
    queryPart<IZelSubject>(util_.get())->attach(events_.get());
    util_->setTargetObject(target_);
    util_->setCollectorClassId(classIdOf(collectorClassName));
    util_->connect();
    return *util_;
  }
  // A started run; the device then takes the probe radius.
  IZelHardProbeCreateFeaturesUtil& started(const char* collectorClassName, double radius = .001) {
    IZelHardProbeCreateFeaturesUtil& run = util(collectorClassName);
    EXPECT_TRUE(run.startFeature());
    this->radius(radius);
    journal_.clear();
    return run;
  }

  // The device's events, through every receiver registered with it.
  void radius(double r) {
    device_->deliver<IZelHardProbeDataReceiver>(
        [&](IZelHardProbeDataReceiver* r2) { r2->setProbeRadius(r); });
  }
  // The probe's move to p, its axis along to.
  void move(const Vector3& p, const Vector3& to = {0, 0, -1}) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) {
      r->onMoved(p, to, {0, 1, 0});
    });
  }
  void sample(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(p); });
  }
  void sample(const Points& points) {
    for (const Vector3& p : points) sample(p);
  }
  void stop(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointStop(p); });
  }
  void event(const char* name) {
    device_->deliver<IZelHardProbeDataReceiver>(
        [&](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString(name), nullptr); });
  }

  // The target's sub-objects by name, in order.
  std::vector<std::u16string> names(IZelDocObject* object = nullptr) {
    std::vector<std::u16string> found;
    auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(object ? object : target_));
    for (int32_t i = 0; subObjects && i < subObjects->subObjectCount(); ++i)
      found.push_back(text(subObjects->subObjectAt(i)->name()));
    return found;
  }
  IZelFeature* featureAt(int32_t index) {
    auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(target_));
    auto* subObject = queryPart<IZelFeatureSubObject>(subObjects ? subObjects->subObjectAt(index) : nullptr);
    return subObject ? subObject->feature() : nullptr;
  }
  // The journal's entries since the last call.
  std::vector<std::string> heard() { return std::exchange(journal_, {}); }

  IDataStore& store() { return host_.core().dataStore(); }
  std::u16string brief() { return text(store().getString("Palpera/Tile/BriefInstructions")); }
  int32_t pointsTaken() { return store().getInt("Palpera/Tile/NumPointsTaken", -1); }
  int32_t pointsRequired() { return store().getInt("Palpera/Tile/NumPointsRequired", -1); }
  std::vector<double> statistics() {
    return {store().getDouble("Palpera/Tile/FeatureMaxNegativeDistance", 0),
            store().getDouble("Palpera/Tile/FeatureMaxPositiveDistance", 0),
            store().getDouble("Palpera/Tile/FeatureStandardDeviation", 0)};
  }
  std::vector<std::u16string> errors() {
    std::vector<std::u16string> messages;
    for (const RecordingErrorService::Report& report : host_.core().errors().reports())
      messages.push_back(report.message);
    return messages;
  }

  std::vector<std::string> journal_;  // outlives the device and the listener that write to it
  IPtr<TestDevice> device_{new TestDevice("HardProbe", "IZelHardProbeDataReceiverV2", journal_)};
  IPtr<EventJournal> events_{new EventJournal(journal_)};
  IPtr<IZelPluginService> devices_;
  IZelDocObject* target_ = nullptr;
  IPtr<IZelHardProbeCreateFeaturesUtil> util_;
};
