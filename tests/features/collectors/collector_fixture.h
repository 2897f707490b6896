#pragma once

// Drives the module's feature collectors as the feature-probing utility does: a collector made by class id
// and named after its type, a scripted device stream into its receiver side, and its events heard by a
// listener that, on "Stop", has the feature made, adds it to "TestObject" and readies the collector for the
// next feature. The tile's items are read back from the host data store.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "features/collectors/feature_collector_base.h"
#include "features/collectors/zel_feature_collector.h"
#include "features/feature_sub_object.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/zel_subject.h"
#include "support/device_stream.h"
#include "support/made_by_name.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/text.h"

using Points = std::vector<Vector3>;

// Four probe-tip centres 2 mm above the z = 0 plane, and a stop point above them.
inline const Points kPlaneTips = {{0, 0, .002}, {.1, 0, .002}, {0, .1, .002}, {.1, .1, .002}};
inline constexpr Vector3 kAbovePlane{.05, .05, .05};

// Hears a subject's events in order. With a target object it answers "Stop" as the utility does: the
// feature is made, taken, added to the target, and the collector reset for the next feature.
class ProbingRun : public IZelListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ProbingRun";

  ProbingRun(IZelFeatureCollector* collector, IZelDocObject* target)
      : collector_(collector), target_(target) {
    queryPart<IZelSubject>(collector)->attach(this);
  }
  void detach() { queryPart<IZelSubject>(collector_.get())->detach(this); }

  void onNotify(const char* event, IZelSubject*, void* data) override {
    heard_.push_back(event);
    if (heard_.back() == "NewChildFeature") announced_.emplace_back(*static_cast<ChildFeatureInfo*>(data));
    if (!target_ || heard_.back() != "Stop" || !collector_->fillCreatorParameters()) return;
    IPtr<IZelFeature> feature = collector_->takeFeature();
    added_.push_back(addFeatureSubObject(target_, feature.get(), collector_.get()));
    collector_->reset();
    collector_->refreshInfo();
  }

  // The events heard since the last call.
  std::vector<std::string> heard() { return std::exchange(heard_, {}); }
  // The names of the sub-objects added, in order.
  std::vector<std::u16string> addedNames() const {
    std::vector<std::u16string> names;
    for (const IPtr<IZelSubObject>& added : added_) names.push_back(added ? text(added->name()) : u"(none)");
    return names;
  }
  const std::vector<IPtr<IZelSubObject>>& added() const { return added_; }
  // The features made, in order.
  IZelFeature* addedFeature(size_t i) const {
    return queryPart<IZelFeatureSubObject>(added_.at(i).get())->feature();
  }

  // What "NewChildFeature" carried, with the announcing collector's type name during the event.
  struct Announced {
    explicit Announced(const ChildFeatureInfo& info)
        : feature(info.feature), collector(info.collector), typeName(text(info.collector->typeName())) {}
    IPtr<IZelFeature> feature;
    IPtr<IZelFeatureCollector> collector;
    std::u16string typeName;
  };
  const std::vector<Announced>& announced() const { return announced_; }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelFeatureCollector> collector_;
  IZelDocObject* target_;
  std::vector<std::string> heard_;
  std::vector<IPtr<IZelSubObject>> added_;
  std::vector<Announced> announced_;
};

class CollectorTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
  }
  void TearDown() override {
    for (const IPtr<ProbingRun>& run : runs_) run->detach();
    runs_.clear();
    ModuleTest::TearDown();
  }

  // A collector of that class, named after its type and showing its tile info, as the utility starts one.
  IPtr<IZelFeatureCollector> collector(const char* className) {
    IPtr<IZelFeatureCollector> made;
    made.createInstance(classIdOf(className));
    EXPECT_TRUE(made) << className;
    if (!made) return made;
    made->setFeatureName(made->typeName());
    made->refreshInfo();
    return made;
  }
  static FeatureCollectorBase& base(const IPtr<IZelFeatureCollector>& collector) {
    return *queryPart<FeatureCollectorBase>(collector.get());
  }

  // Hears the collector's events; with a target, finishes every feature into it.
  ProbingRun& listen(const IPtr<IZelFeatureCollector>& collector, IZelDocObject* target = nullptr) {
    runs_.push_back(IPtr<ProbingRun>(new ProbingRun(collector.get(), target)));
    return *runs_.back();
  }

  IZelDocObject* addObject(const char16_t* name) {
    return host_.document().doc().add({"Point", name, std::nullopt, {}, {}}, false).get();
  }
  // A feature shown as a sub-object of the object, under that name.
  void addFeature(IZelDocObject* object, IZelFeature* feature, const char16_t* name) {
    IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(object);
    IPtr<IZelFeatureSubObject> subObject;
    subObject.takeOwnership(manager->createSubObject(feature));
    subObject->setName(ZelString(name));
    queryPart<IZelSubObjectMgr>(manager)->addSubObject(subObject.get());
  }

  IDataStore& store() { return host_.core().dataStore(); }
  std::u16string brief() { return text(store().getString("Palpera/Tile/BriefInstructions")); }
  std::u16string featureName() { return text(store().getString("Palpera/Tile/FeatureName")); }
  int32_t pointsTaken() { return store().getInt("Palpera/Tile/NumPointsTaken", -1); }
  int32_t pointsRequired() { return store().getInt("Palpera/Tile/NumPointsRequired", -1); }

 private:
  std::vector<IPtr<ProbingRun>> runs_;
};

// The creator's table as the feature's probing record keeps it, and its keys in order.
inline IZelParameterTable* recordedParameters(IZelFeature* feature) {
  auto* record = queryPart<IZelParameterTable>(feature->getParameter(ZelString(u"<ProbeConstruction>")));
  return record ? queryPart<IZelParameterTable>(record->getParameter(ZelString(u"<Parameters>"))) : nullptr;
}
inline std::vector<std::u16string> keysOf(IZelParameterTable* table) {
  std::vector<std::u16string> keys;
  for (int32_t i = 1; table && i <= table->count(); ++i) keys.push_back(text(table->nameAt(i)));
  return keys;
}

inline IPtr<IZelFeature> planeFeature(const Vector3& point, const Vector3& normal) {
  IPtr<IZelPlane> plane = made<IZelPlane>();
  plane->setPlane(point, normal, {}, 0, 0);
  return IPtr<IZelFeature>(queryPart<IZelFeature>(plane.get()));
}
inline IPtr<IZelFeature> arcFeature(const Vector3& centre, double radius) {
  IPtr<IZelArc> arc = made<IZelArc>();
  arc->setCenter(centre);
  arc->setNormal({0, 0, 1});
  arc->setRadius(radius);
  return IPtr<IZelFeature>(queryPart<IZelFeature>(arc.get()));
}

inline void expectClose(const Vector3& actual, const Vector3& expected, double tolerance = 1e-9) {
  EXPECT_NEAR((actual - expected).length(), 0.0, tolerance) << actual << " vs " << expected;
}
