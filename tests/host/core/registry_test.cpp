#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "devices/alignment/alignment_services.h"
#include "devices/host_log/izel_plugin_manager_log_record_util.h"
#include "devices/host_log/izel_plugin_manager_log_replay_util.h"
#include "devices/materials/izel_materials.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/host_lookup.h"
#include "host/core/zel_id_text.h"
#include "host/document/host_feature_types.h"
#include "host_api/feature_type_ids.h"
#include "host_api/host_class_ids.h"
#include "host_api/module_class_ids.h"
#include "host_api/points.h"
#include "host_api/registry_paths.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

const std::string kPointTypePath = std::string(kFeatureTypesPath) + IZelPoint::interfaceName;

class Registry : public ModuleTest {
 protected:
  HostRegistry& registry() { return host_.root().registry(); }

  // The texts of a walk from where it stands to its end.
  static std::vector<std::string> rest(Corvane::IZelRegIter* entries) {
    std::vector<std::string> texts;
    for (; !entries->isDone(); entries->next()) texts.push_back(entries->currentValue()->c_str());
    return texts;
  }
  std::vector<std::string> walk(const char* folder) {
    const ZelCString path(folder);
    return rest(IPtr<Corvane::IZelRegIter>(registry().entries(&path)).get());
  }
};

// A point made by its value's name and one made by the point's class id are fresh objects of one class.
TEST_F(Registry, ThePointValueAndThePointFeatureAreOneClassOfFreshObjects) {
  SPtr<IZelPoint> value;
  SPtr<IZelPoint> another;
  IPtr<IZelPoint> byId;
  EXPECT_EQ(byId.createInstance(kHostPointClassId), 1);
  ASSERT_TRUE(value && another && byId);
  EXPECT_STREQ(byId->className(), value->className());
  EXPECT_NE(another.get(), value.get());
  EXPECT_EQ(value->refCount(), 1u) << "the root wrote it without a reference";
  value->setPosition(1, -2, 3);
  double xyz[3] = {};
  another->position(xyz);
  EXPECT_EQ(xyz[1], 0.0) << "no state is shared between lookups";
}

// A kind's path makes that kind's feature type: the id the path holds and the name the finder gives its
// features, and no feature.
TEST_F(Registry, EveryFeatureTypesPathMakesTheTypeOfItsKind) {
  SPtr<IZelFeatureTypeFinder> finder;
  ASSERT_TRUE(finder);
  for (const FeatureKind& kind : featureKinds()) {
    SCOPED_TRACE(kind.interfaceName);
    const std::string text = std::string(kFeatureTypesPath) + kind.interfaceName;
    const ZelCString path(text.c_str());
    RegPtr<IZelFeatureType> type{path};
    ASSERT_TRUE(type);
    EXPECT_EQ(canonicalText(type->classId()), canonicalText(kind.classId));
    EXPECT_EQ(type->displayName(), ZelString(kind.displayName));
    EXPECT_FALSE(RegPtr<IZelFeature>{path}) << "a type is no feature";
  }
}

TEST_F(Registry, AnyMissingStepLeavesTheRegistryPointerEmpty) {
  const struct {
    const char* path;
    const char* text;  // null: nothing stored under the path
  } cases[] = {
      {"Test/Braced", "{10933957-7664-49c7-953e-bd6f82e1e34f}"},  // the braced form reads as the null id
      {"Test/Words", "IZelPoint"},
      {"Test/NoSuchClass", "0x1,0x2,0x3,0x4,0x5,0x6,0x7,0x8,0x9,0xa,0xb"},
      {"Test/Missing", nullptr},
      {"Features/Types", nullptr},  // a folder is no entry
  };
  for (const auto& c : cases) {
    if (c.text) registry().add(c.path, c.text);
    EXPECT_FALSE(RegPtr<IZelPoint>(ZelCString(c.path))) << c.path;
  }
  host_.root().setService(Corvane::IZelRegistry::interfaceName, nullptr);
  EXPECT_FALSE(RegPtr<IZelFeatureType>(ZelCString(kPointTypePath.c_str()))) << "a host without a registry";
}

TEST_F(Registry, AWalkListsOneFolderInRegistrationOrderAsItWasWhenMade) {
  // Neither the folder itself, nor a folder below it, nor a neighbour whose name merely begins alike belong.
  for (const char* path : {"Test/Readers/b", "Test/Readers", "Test/Readers/a", "Test/Readers/sub/d",
                           "Test/ReadersX/e", "Test/Reader/f", "Test/Readers/c"})
    registry().add(path, path);
  const ZelCString folder("Test/Readers"), e("Test/ReadersX/e"), f("Test/Reader/f");
  IPtr<Corvane::IZelRegIter> before(registry().entries(&folder));
  const ZelCString* handedOut[] = {registry().lookup(&e), registry().lookup(&f)};

  registry().add("Test/Readers/b", "b again");  // a new text keeps its entry's place
  registry().remove("Test/Readers/a");
  registry().add("Test/ReadersX/e", "e again");
  registry().remove("Test/Reader/f");
  EXPECT_EQ(walk("Test/Readers"), (std::vector<std::string>{"b again", "Test/Readers/c"}));
  EXPECT_EQ(rest(before.get()),
            (std::vector<std::string>{"Test/Readers/b", "Test/Readers/a", "Test/Readers/c"}));
  // A text handed out outlives the change of its entry.
  EXPECT_STREQ(handedOut[0]->c_str(), "Test/ReadersX/e");
  EXPECT_STREQ(handedOut[1]->c_str(), "Test/Reader/f");
  before->next();
  EXPECT_EQ(before->currentValue(), nullptr);
  before->first();
  EXPECT_STREQ(before->currentValue()->c_str(), "Test/Readers/b");
  EXPECT_EQ(walk(kTransformationFileReadersPath), std::vector<std::string>{registryText(kXalReaderClassId)});
  const ZelCString plane("Palpera/HardProbeFeatureCollectors/Plane");
  ASSERT_TRUE(registry().lookup(&plane));
  EXPECT_EQ(registry().lookup(&plane)->c_str(), registryText(kPlaneCollectorClassId));
  EXPECT_EQ(walk("Palpera/HardProbeFeatureCollectors").size(), 20u) << "every feature collector by its name";
}

// A lookup answers the entry of exactly that path: not the next one in order, nor one inside a folder.
TEST_F(Registry, ALookupOfAMissingPathOrOfAFolderAnswersNone) {
  registry().add("Test/Lookups/b", "b");
  registry().add("Test/Lookups/d", "d");
  for (const char* path : {"Test/Lookups", "Test/Lookups/", "Test/Lookups/a", "Test/Lookups/c",
                           "Test/Lookups/e", "Test/Lookup", "Test/Lookups/b/x"}) {
    const ZelCString missing(path);
    EXPECT_EQ(registry().lookup(&missing), nullptr) << path;
  }
  const ZelCString present("Test/Lookups/d");
  ASSERT_TRUE(registry().lookup(&present));
  EXPECT_STREQ(registry().lookup(&present)->c_str(), "d");
}

// The module's services are registry entries: without one the name is unknown, and a host service of the
// same name comes first.
TEST_F(Registry, AModuleServiceIsFoundThroughItsRegistryEntryUnlessTheHostHasOne) {
  const std::string path = std::string(kServicesPath) + IZelPluginService::interfaceName;
  IPtr<IZelPluginService> module;
  module.createInstance(kPluginServiceClassId);
  ASSERT_TRUE(module);
  EXPECT_EQ(SPtr<IZelPluginService>().get(), module.get());
  registry().remove(path);
  EXPECT_FALSE(SPtr<IZelPluginService>());
  registry().add(path, registryText(kPluginServiceClassId));
  EXPECT_EQ(SPtr<IZelPluginService>().get(), module.get());

  IPtr<CountedProbe> own(new CountedProbe);
  host_.root().setService(IZelPluginService::interfaceName, own.get());
  EXPECT_EQ(host_.root().serviceObject(IZelPluginService::interfaceName), own.get());
}

// The class of the object a lookup of T's interface name answers, and whether a second lookup answers the
// same object; empty when the host answers nothing.
template <class T>
std::pair<std::string, bool> serviceClass() {
  SPtr<T> first, second;
  if (!first || !second) return {};
  return {first->className(), first.get() == second.get()};
}

// Commands ask the host for these objects of the module by interface name alone; a name the host does not
// serve leaves the command without them, silently.
TEST_F(Registry, EveryInterfaceNameTheModulesCommandsAskForAnswersTheModulesClass) {
  const struct {
    std::pair<std::string, bool> (*lookup)();
    const char* className;
    bool shared;
  } kServices[] = {
      {serviceClass<IZelHardProbeProbeGfx>, "HardProbeProbeGfx", false},
      {serviceClass<IZelHardProbeTile>, "HardProbeTileFacade", false},
      {serviceClass<IZelPluginService>, "PluginService", true},
      {serviceClass<IZelPluginDeviceHardwareAlignmentService>, "PluginDeviceHardwareAlignmentService", true},
      {serviceClass<IZelPluginDeviceObjectAlignmentService>, "PluginDeviceObjectAlignmentService", true},
      {serviceClass<IZelPluginDeviceScaleAlignmentService>, "PluginDeviceScaleAlignmentService", true},
      {serviceClass<Materials::IZelMaterials>, "ZelMaterials", true},
      {serviceClass<IZelPluginManagerLogRecordUtil>, "PluginManagerLogRecordUtil", false},
      {serviceClass<IZelPluginManagerLogReplayUtil>, "PluginManagerLogReplayUtil", true},
  };
  for (const auto& service : kServices) {
    SCOPED_TRACE(service.className);
    EXPECT_EQ(service.lookup(), std::pair(std::string(service.className), service.shared));
  }
}

using RegistryThreads = Registry;

// Worker threads look points up by name and point types by path, each getting its own object, while the main
// thread changes the table.
TEST_F(RegistryThreads, LookupsOnWorkerThreadsGetTheirOwnObjectsWhileTheTableChanges) {
  std::atomic<bool> done{false};
  std::atomic<int> lookups{0}, faults{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t) {
    workers.emplace_back([&] {
      while (!done) {
        SPtr<IZelPoint> a;
        SPtr<IZelPoint> b;
        RegPtr<IZelFeatureType> type{ZelCString(kPointTypePath.c_str())};
        if (!a || !b || a.get() == b.get() || !type) ++faults;
        ++lookups;
      }
    });
  }
  const ZelCString folder("Test/Changing");
  for (int i = 0; i < 2000 || lookups < 1000; ++i) {
    registry().add("Test/Changing/entry", std::to_string(i));
    if (i % 3 == 0) registry().remove("Test/Changing/entry");
    IPtr<Corvane::IZelRegIter> walk(registry().entries(&folder));
  }
  done = true;
  for (std::thread& worker : workers) worker.join();
  EXPECT_EQ(faults, 0);
}

}  // namespace
