#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "framework/component/zel_base_component.h"
#include "framework/component/zel_default_class_factory.h"
#include "framework/registrations/registered_classes.h"
#include "framework/registrations/static_constants.h"
#include "host/core/module_library.h"
#include "host/core/zel_id_text.h"
#include "platform/event.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"
#include "test_paths.h"

namespace {

ZelID testId(uint32_t n) {
  return ZelID{n, 0x7e57, 0x1d, {1, 2, 3, 4, 5, 6, 7, static_cast<uint8_t>(n)}};
}

TEST(EntryPoint, ANullOutParameterAnswersZeroAndWritesNothing) {
  uint32_t version = 77;
  EXPECT_EQ(EntryPoint(&version, nullptr), 0);
  EXPECT_EQ(version, 77u);
  IZelComponent* component = reinterpret_cast<IZelComponent*>(0x77);
  EXPECT_EQ(EntryPoint(nullptr, &component), 0);
  EXPECT_EQ(component, reinterpret_cast<IZelComponent*>(0x77));
}

TEST(ClassRegistry, GrowsFrom131To257AtThe105thIdAndAnIdRegisteredAgainIsReplaced) {
  ZelDefaultClassFactory registry;
  std::vector<std::unique_ptr<ZelTClassItemFactory<CountedProbe>>> items;
  for (uint32_t n = 1; n <= 105; ++n) {
    items.push_back(std::make_unique<ZelTClassItemFactory<CountedProbe>>("CountedProbe", testId(n)));
    registry.registerItemFactory(items.back().get());
    if (n == 104) {
      EXPECT_EQ(registry.bucketCount(), 131u);
    }
  }
  EXPECT_EQ(std::tuple(registry.bucketCount(), registry.count()), std::tuple(257u, 105u));
  ZelID id = testId(57);
  EXPECT_STREQ(registry.className(&id), "CountedProbe") << "every id is still found after the rehash";
  ZelTClassItemFactory<CountedProbe> again("Again", testId(57));
  registry.registerItemFactory(nullptr);
  registry.registerItemFactory(&again);
  EXPECT_EQ(registry.count(), 105u);
  EXPECT_STREQ(registry.className(&id), "Again");
}

// A class whose construction runs out of memory.
class StarvedProbe : public CountedProbe {
 public:
  StarvedProbe() { throw std::bad_alloc(); }
};

TEST(ClassRegistry, AConstructorOutOfMemoryAnswersNoObjectAndNothingReachesTheHost) {
  ZelDefaultClassFactory registry;
  ZelTClassItemFactory<StarvedProbe> plain{"Plain", testId(1)};
  ZelSingletonTClassItemFactory<StarvedProbe> single{"Single", testId(2)};
  registry.registerItemFactory(&plain);
  registry.registerItemFactory(&single);
  for (uint32_t n : {1u, 2u, 2u}) {  // a failed singleton is tried again on the next request
    SCOPED_TRACE(n);
    ZelID id = testId(n);
    IZelUnknown* out = reinterpret_cast<IZelUnknown*>(0x99);
    EXPECT_EQ(registry.createInstance(&id, &out), n);
    EXPECT_EQ(out, nullptr);
  }
}

// Singletons whose construction the test controls, through the hooks of the test running.
struct SingletonHooks;
SingletonHooks* hooks = nullptr;
struct SingletonHooks {
  SingletonHooks() { hooks = this; }
  ~SingletonHooks() { hooks = nullptr; }
  std::atomic<int> constructions{0};
  platform::Event entered{platform::Event::Reset::kAuto};
  platform::Event gate{platform::Event::Reset::kManual};
  ZelItemFactory* factory = nullptr;
  IZelUnknown* askedBack = reinterpret_cast<IZelUnknown*>(0x99);
};

IZelUnknown* request(ZelItemFactory& factory) {
  uint32_t status = 0;
  return factory.create(&status);
}

class GatedSingleton : public CountedProbe {
 public:
  GatedSingleton() {
    ++hooks->constructions;
    hooks->entered.set();
    EXPECT_TRUE(hooks->gate.waitFor(5000)) << "the gate never opened";
  }
};

class SelfAskingSingleton : public CountedProbe {
 public:
  SelfAskingSingleton() {
    ++hooks->constructions;
    hooks->askedBack = request(*hooks->factory);
  }
};

TEST(ClassRegistryThreads, TwoFirstRequestsRacingConstructTheSingletonOnce) {
  SingletonHooks local;
  ZelSingletonTClassItemFactory<GatedSingleton> factory("Gated", testId(1));
  IZelUnknown *first = nullptr, *second = nullptr;
  std::thread a([&] { first = request(factory); });
  ASSERT_TRUE(local.entered.waitFor(5000));
  std::thread b([&] { second = request(factory); });
  // A second construction, were there one, would announce itself at once; give it a bounded chance to.
  EXPECT_FALSE(local.entered.waitFor(200));
  local.gate.set();
  a.join();
  b.join();
  EXPECT_EQ(local.constructions, 1);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  factory.releaseInstance();
}

TEST(ClassRegistry, ASingletonAskingForItselfWhileConstructedGetsAnAnswerNotADeadlock) {
  SingletonHooks local;
  ZelSingletonTClassItemFactory<SelfAskingSingleton> factory("SelfAsking", testId(1));
  local.factory = &factory;
  IZelUnknown* made = request(factory);
  EXPECT_NE(made, nullptr);
  EXPECT_EQ(local.askedBack, nullptr) << "not yet made: no object";
  EXPECT_EQ(request(factory), made);
  EXPECT_EQ(local.constructions, 1);
  factory.releaseInstance();
}

using Components = ModuleTest;

TEST_F(Components, SelfTestWithoutATestServiceReportsTheMessageAndTheStatusByteAndWithOneRunsNothing) {
  struct Service : IZelSelfTestService {
    int runs = 0;
    void runTest(void*) override { ++runs; }
  } service;
  IZelCompInternal* internal = internalOf(component_.get());
  internal->selfTest(&service);
  EXPECT_EQ(std::tuple(service.runs, host_.core().errors().reports().size()), std::tuple(0, 0u));
  host_.root().setStatus(0x141);  // only the low byte is reported
  internal->selfTest(nullptr);
  auto reports = host_.core().errors().reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(std::tuple(reports[0].message, reports[0].severity, reports[1].message),
            std::tuple(u"Unable to get test service", 1, u"A"));
  detachFromHost();
  internal->selfTest(nullptr);  // must not touch a root that is not there
  EXPECT_EQ(host_.core().errors().reports().size(), 2u);
}

// The table of the module's creatable classes as the host knows them: id, subsystem, name and whether the
// class is shared (seven are). Ids are persistent; nothing here may change.
struct TableRow {
  const char* id;
  int32_t subsystem;
  const char* name;
  bool singleton;
};

constexpr TableRow kClassTable[] = {
    {"79bdf198-9c97-4dfc-99af-c24e4302f9bc", 1, "PalperaDataItemAdder", false},
    {"e6cf73be-daea-4378-b445-646949a7c78b", 2, "EmulatorPlugin", false},
    {"0496b217-a0e4-4af9-974b-39ba97196ccf", 2, "EmulatorPluginStartupTask", false},
    {"3bed067f-5cf6-4147-8b2f-32bda4b349bf", 2, "ZelMaterials", true},
    {"404fa106-4646-4985-8138-f50feff5bb70", 2, "PalperaDumpCmd", false},
    {"c9447a32-b1a1-4a15-ad6f-4143b6d13066", 2, "LogReplayPlugin", false},
    {"7c3966ab-c757-4788-bdbd-f639474b7928", 2, "PluginDeviceHardwareAlignmentService", true},
    {"56df55fe-bc59-479c-b4da-9bd6eeb693a9", 2, "PluginDeviceObjectAlignmentService", true},
    {"bc1d2d2d-4ad1-4ac3-9c7e-ec0b54a80d6f", 2, "PluginDeviceScaleAlignmentService", true},
    {"b84cc2c7-01a2-4e21-91ba-21633b204bf2", 2, "PluginDeviceNullData", false},
    {"a3315ab9-68c4-4eb6-8b58-d363af0a8c84", 2, "PluginDeviceRadiusData", false},
    {"2a2987c6-c17c-4a82-b9ca-6476a78c792a", 2, "PluginDevicePositionData", false},
    {"e9be4389-0e81-458e-86ad-f988aad65126", 2, "PluginDevicePositionOrientationData", false},
    {"ccfe5eed-d4d5-4b16-ac5b-6b012a043264", 2, "PluginDeviceCustomEventData", false},
    {"c6c7e754-b08a-46a5-bd08-591ca2c165f2", 2, "PluginDeviceScanLineData", false},
    {"4b8b77a6-5133-49ca-8028-a7a746586f28", 2, "PluginDeviceDataXMLReader", false},
    {"b9612949-ef7e-4395-8a6b-42ec074d05df", 2, "PluginDeviceDataXMLWriter", false},
    {"c7f17df7-1dc4-4bc6-871a-22f1b72bf9c8", 2, "PluginDeviceLogEventHandler", false},
    {"a14c9404-74ae-449e-a007-749745e2582e", 2, "PluginDeviceStartupTask", false},
    {"a6040466-b17a-4ed6-a5d9-9100a1fe1316", 2, "PluginManagerLogRecordUtil", false},
    {"4ef0a1bf-13da-48e9-8ec5-8618e08e7877", 2, "PluginManagerLogReplayUtil", true},
    {"0e7db2f7-339f-42fc-ad81-5a4408b11bc3", 2, "PluginManagerStartupTask", false},
    {"a6deb461-78c9-4e4a-ad98-3800f6c4c632", 2, "PluginOptionsCmd", false},
    {"16942fa6-c94a-44fb-b05e-fae3edabb716", 2, "PluginService", true},
    {"11f401d1-ffff-4891-a028-17850c8b2186", 3, "DeviceCSYSGfxStartupTask", false},
    {"74629b30-4a83-42af-8aca-975b9dd62850", 3, "HardProbeInfoGraphics", true},
    {"090400f9-8856-48ce-8196-00fd4994a7e2", 3, "HardProbeInstructionsTile", false},
    {"68265b55-21cc-450b-8a5b-0a90c6638bb9", 3, "HardProbeProbeGfx", false},
    {"2443fb8d-8c77-4ab8-83d2-754b8df49f5e", 3, "HardProbeTileFacade", false},
    {"6842c144-ce5d-4a7c-878f-5a16ce254d3f", 3, "PalperaImageAdder", false},
    {"1062941f-6be2-44ab-a902-4f60451fc9a1", 3, "PalperaOptionsTile", false},
    {"4a3fb66c-9d3f-488d-a713-076568b0c6e1", 3, "StopReceiver", false},
    {"431ecdf5-2415-4d1d-8aa4-d6eb24a7fbd6", 3, "SubObjectVisibilityMgr", false},
    {"da8f17e0-ea5d-46fd-8a2a-217cf52d1870", 3, "UserInstructions", false},
    {"c7ac850f-4e8c-4615-bd8a-e5e2cc1e7a34", 3, "VirtualCamera", false},
    {"3ae797fb-6a06-4379-a2f3-55c44b47bcf1", 4, "CircleCollector", false},
    {"4567800b-cb85-4a01-975a-2ababe988fb4", 4, "PointCircleCollector", false},
    {"a2d99800-3b9d-4248-85e8-1ec3c317d5ea", 4, "BoltPatternCircleCollector", false},
    {"f583d0e0-68f4-474a-b992-dc6cff6f516a", 4, "ConeCollector", false},
    {"81ac0fbd-e6a8-4277-806f-97e3e68a66e4", 4, "ConstrainedConeCollector", false},
    {"60b1c6a8-d476-4d65-a298-225f966469bd", 4, "CylinderCollector", false},
    {"351f5c44-03b8-4537-8244-5619f7843f83", 4, "ConstrainedCylinderCollector", false},
    {"70b842de-9061-4cc4-a6ba-f66697354f96", 4, "TopBottomPlaneCylinderCollector", false},
    {"3aefb00d-eb72-4b17-80f5-72c422b336de", 4, "LineCollector", false},
    {"4cbe8b99-3dbb-4c3f-8282-6e8f3416094f", 4, "OvalSlotCollector", false},
    {"c5a1418a-7741-4b10-a255-b3119adbf300", 4, "ParallelPlanesCollector", false},
    {"ab315f68-3822-4d02-9334-3a96afde5340", 4, "PlaneCollector", false},
    {"e9208c7f-f5e5-4988-b86f-446a4b677199", 4, "PointCollector", false},
    {"f895d216-eb10-4131-8e23-176d0a47026c", 4, "SurfacePointCollector", false},
    {"5f16d93a-0338-4f6a-af66-2f5a5abe3599", 4, "TargetPointCollector", false},
    {"d445af8d-258a-4ec2-9170-93b2bd8ce8e7", 4, "MaxPointCollector", false},
    {"d6c58936-d526-46c8-b5ff-f7ca832563a0", 4, "MinPointCollector", false},
    {"fecd27bb-894c-4891-85b5-cefa4fe30cb8", 4, "RectangularSlotCollector", false},
    {"d3a13934-8af4-4462-b600-0841f9d2cece", 4, "RoundedSlotCollector", false},
    {"6302dd13-dd86-4e7d-9514-4556ade5c347", 4, "SphereCollector", false},
    {"9162ac9c-1437-4c27-9cf5-6f14f586e38f", 4, "HardProbeCircleCreator", false},
    {"cd74bc6e-d309-4f36-b2c0-1ac63c466f4c", 4, "HardProbePointCircleCreator", false},
    {"23a31f79-110c-47f5-b7c4-a7b149c64a8a", 4, "HardProbeBoltCircleCreator", false},
    {"e63cb29c-965e-418a-afc8-c9539015bc33", 4, "HardProbeConeCreator", false},
    {"f018d9ec-161d-4e08-9b30-34050627b3ae", 4, "HardProbeConstrainedConeCreator", false},
    {"924d46fc-c432-4a93-8a86-7357e700b25a", 4, "HardProbeCylinderCreator", false},
    {"a3d3c0e8-e71c-4d22-a766-86b3a6b7b15d", 4, "HardProbeConstrainedCylinderCreator", false},
    {"8c8c51ff-cbb5-4076-a1c4-78bc62b5a933", 4, "HardProbeTopBottomPlaneCylinderCreator", false},
    {"3c4f40ab-85f8-4125-beb3-a95177076182", 4, "HardProbeLineCreator", false},
    {"f5915838-9672-4e4a-8318-e769dbc773b0", 4, "HardProbeOvalSlotCreator", false},
    {"a2845c91-a303-4d94-9446-625b50878760", 4, "HardProbeParallelPlanesCreator", false},
    {"3c6bf61c-5a14-4360-b49e-422ab068b465", 4, "HardProbeParallelPlanesPlaneCreator", false},
    {"a8891a8a-641b-465b-873d-1057abb60795", 4, "HardProbePlaneCreator", false},
    {"03212150-5577-465e-8457-cb1a57234016", 4, "HardProbePointCreator", false},
    {"a50538e7-efdb-4d37-9068-e6c2e85a4340", 4, "HardProbeSurfacePointCreator", false},
    {"8c35f323-fe65-41f0-ab45-b8de2e5bc855", 4, "HardProbeTargetPointCreator", false},
    {"2764b99a-2a07-404e-ad97-558fec59d4f6", 4, "HardProbeMaxPointCreator", false},
    {"3ede4e9e-775c-4c67-bcd5-ebdddd5cfabb", 4, "HardProbeMinPointCreator", false},
    {"ad771e66-7678-4a4f-8179-e563f3a37dee", 4, "HardProbeRectangularSlotCreator", false},
    {"4bcceeb0-5922-4fae-a9ac-9362e2fb6855", 4, "HardProbeRoundedSlotCreator", false},
    {"48a9dc64-faec-4dec-849f-37e58b3a325a", 4, "HardProbeSphereCreator", false},
    {"a1076fe0-c3a6-42bb-a92e-e7aa538354e7", 5, "HardProbeFeaturePicker", false},
    {"2a3c08dc-5afa-43b3-a10b-6eb6bb5ba8af", 5, "FeatureTypeFeatureStrategy", false},
    {"3a3e787b-d5c3-48a7-a9e4-36f478dfeafc", 5, "ZelClosestPointOnCad", false},
    {"b29ced97-6288-493c-b0f1-a38bfed080a2", 5, "HardProbeCreateFeaturesUtil", false},
    {"046ae382-1edc-4f14-abdc-e85ee658b9a5", 5, "HardProbeFeatureCollector", false},
    {"4b238048-2f05-4081-8aef-240e0f00afb8", 5, "PalperaCreateFeaturesCmd2", false},
    {"53328bcc-12f1-4ec2-8050-797e6f67e3be", 5, "PalperaEditFeaturesCmd", false},
    {"15a1cc69-ff18-4ae7-a698-05fb6a8f1564", 5, "PalperaQuickProbeCmd", false},
    {"9071b99b-f630-40c7-bcef-e255a6de5845", 6, "PalperaManageTransformCmd", false},
    {"96d67206-02c5-4643-9c13-e236cec49466", 6, "MatrixWidget", false},
    {"34265c5b-a478-4125-ba52-4713fccf8c0e", 6, "TemperatureCompensationCmd", false},
    {"403b2b72-d487-459a-9272-4d7db8b61de9", 6, "TransformFileWidget", false},
    {"0ea5218e-f127-4268-9291-bbde1edff0ca", 6, "XALReader", false},
    {"7da15210-3af6-4474-a777-7a27aa526347", 7, "GenFitCrossSectionPoints", false},
    {"99d098fc-c80f-4edb-a281-eadabb630abd", 7, "GenSectionPointObject", false},
    {"5196448b-a7bc-45ad-a6c6-43b22e67c127", 7, "PalperaCaptureCmd", false},
    {"529da311-b09e-45fd-9629-2f85ec50a7ef", 7, "PalperaCrossSectionCmd", false},
    {"40e06e2a-a7a8-4a06-b058-d4cf2d69c17f", 7, "PalperaRealTimeDeviationCmd", false},
    {"43c1b66f-dc4b-429d-825a-20d31e5020d4", 8, "Alignment321Widget", false},
    {"6120f933-8a1d-40f6-b78a-7966b7b6ceef", 8, "PalperaAlignmentCmd", false},
    {"b7fe1927-8fb5-48fe-b948-e2d76640d830", 8, "PalperaDeviceToPartAlignmentCmd", false},
    {"59a3dcb4-88cc-4c55-9d39-f40a2aadd0a5", 8, "PalperaIterativeAlignmentCmd", false},
    {"62e559d5-d5bf-4311-a47c-9422f3e39aa3", 8, "PalperaMoveDeviceCmd", false},
    {"f02d039a-90eb-4746-9ce8-2f7e9a34d053", 8, "MoveDeviceWidget", false},
};

TEST(ClassTable, TheModulesTableIsTheHundredClassesAndTheLoadedModuleRegistersThoseBuiltSoFar) {
  std::set<std::string> expected;
  ASSERT_EQ(std::size(kClassTable), 100u);
  ASSERT_EQ(std::size(kRegisteredClasses), std::size(kClassTable));
  for (const TableRow& row : kClassTable) {
    SCOPED_TRACE(row.name);
    const RegisteredClass& entry = registeredClass(row.name);
    EXPECT_EQ(entry.name, row.name);
    EXPECT_EQ(canonicalText(entry.id), row.id);
    EXPECT_EQ(std::tuple(entry.singleton, entry.subsystem), std::tuple(row.singleton, row.subsystem));
    // The classes built so far: those of subsystems 1 and 2, and the others listed. A class added to the
    // module belongs here as well.
    static const std::set<std::string> builtBeyond = {"PalperaImageAdder",
                                                      "HardProbeTileFacade",
                                                      "UserInstructions",
                                                      "HardProbeInstructionsTile",
                                                      "StopReceiver",
                                                      "SubObjectVisibilityMgr",
                                                      "VirtualCamera",
                                                      "PalperaOptionsTile",
                                                      "HardProbeProbeGfx",
                                                      "HardProbeInfoGraphics",
                                                      "DeviceCSYSGfxStartupTask",
                                                      "HardProbePlaneCreator",
                                                      "HardProbeLineCreator",
                                                      "HardProbePointCreator",
                                                      "HardProbeSurfacePointCreator",
                                                      "HardProbeTargetPointCreator",
                                                      "HardProbeMaxPointCreator",
                                                      "HardProbeMinPointCreator",
                                                      "HardProbeSphereCreator",
                                                      "HardProbeCircleCreator",
                                                      "HardProbePointCircleCreator",
                                                      "HardProbeBoltCircleCreator",
                                                      "LineCollector",
                                                      "PointCollector",
                                                      "PlaneCollector",
                                                      "SurfacePointCollector",
                                                      "TargetPointCollector",
                                                      "MaxPointCollector",
                                                      "MinPointCollector",
                                                      "SphereCollector",
                                                      "ConeCollector",
                                                      "ConstrainedConeCollector",
                                                      "ParallelPlanesCollector",
                                                      "HardProbeCylinderCreator",
                                                      "HardProbeConstrainedCylinderCreator",
                                                      "HardProbeTopBottomPlaneCylinderCreator",
                                                      "HardProbeConeCreator",
                                                      "HardProbeConstrainedConeCreator",
                                                      "HardProbeParallelPlanesPlaneCreator",
                                                      "HardProbeParallelPlanesCreator",
                                                      "HardProbeOvalSlotCreator",
                                                      "HardProbeRectangularSlotCreator",
                                                      "HardProbeRoundedSlotCreator",
                                                      "ZelClosestPointOnCad",
                                                      "CircleCollector",
                                                      "PointCircleCollector",
                                                      "BoltPatternCircleCollector",
                                                      "CylinderCollector",
                                                      "ConstrainedCylinderCollector",
                                                      "TopBottomPlaneCylinderCollector",
                                                      "OvalSlotCollector",
                                                      "RectangularSlotCollector",
                                                      "RoundedSlotCollector",
                                                      "HardProbeFeaturePicker",
                                                      "FeatureTypeFeatureStrategy",
                                                      "HardProbeCreateFeaturesUtil",
                                                      "HardProbeFeatureCollector",
                                                      "PalperaQuickProbeCmd",
                                                      "PalperaCreateFeaturesCmd2",
                                                      "PalperaEditFeaturesCmd",
                                                      "GenFitCrossSectionPoints",
                                                      "GenSectionPointObject",
                                                      "MatrixWidget",
                                                      "TransformFileWidget",
                                                      "XALReader",
                                                      "PalperaManageTransformCmd",
                                                      "TemperatureCompensationCmd",
                                                      "PalperaRealTimeDeviationCmd",
                                                      "MoveDeviceWidget",
                                                      "PalperaMoveDeviceCmd",
                                                      "PalperaCrossSectionCmd",
                                                      "PalperaCaptureCmd",
                                                      "PalperaDeviceToPartAlignmentCmd",
                                                      "PalperaIterativeAlignmentCmd",
                                                      "Alignment321Widget",
                                                      "PalperaAlignmentCmd"};
    if (row.subsystem <= 2 || builtBeyond.count(row.name))
      expected.insert(std::string(row.id) + " " + row.name);
  }
  std::string error;
  std::unique_ptr<ModuleLibrary> module = ModuleLibrary::load(PALPERA_MODULE_PATH, error);
  ASSERT_TRUE(module) << error;
  IZelCompInternal* internal = internalOf(module->component());
  std::set<std::string> registered;
  ZelID id;
  for (bool more = internal->firstClassId(&id); more; more = internal->nextClassId(&id)) {
    const char* name = internal->className(&id);
    registered.insert(canonicalText(id) + " " + (name ? name : "(no name)"));
  }
  EXPECT_EQ(registered, expected);
  EXPECT_EQ(internal->classCount(), expected.size());
}

// Every class the component registers, created by its id as the host does: a new object each time, or for a
// singleton the one object shared with every other component.
TEST_F(Components, EachEntryPointCallMakesAComponentOfVersion100AndEveryClassIsMadeAsTheTableSays) {
  uint32_t version = 0;
  IZelComponent* raw = nullptr;
  ASSERT_EQ(EntryPoint(&version, &raw), 1);
  IPtr<IZelComponent> other(raw);
  EXPECT_EQ(version, 100u);
  EXPECT_NE(raw, component_.get());
  IZelCompInternal* internal = internalOf(component_.get());
  EXPECT_STREQ(internal->moduleName(), "palpera");
  EXPECT_STREQ(internal->buildStamp(), "2011-10-27 13:41");
  EXPECT_STREQ(other->buildStamp(), "2011-10-27 13:41");
  EXPECT_TRUE(internal->reserved3());
  EXPECT_EQ(canonicalText(*internal->moduleId()), "6a5243e7-e352-4a7a-9867-a3db2eb560e5");
  EXPECT_EQ(internal->className(&*internal->moduleId()), nullptr) << "the module id names no class";
  void* untouched = reinterpret_cast<void*>(0x1234);
  other->queryInterface("IZelComponent", &untouched, false);
  EXPECT_EQ(untouched, raw);
  other->queryInterface(nullptr, &untouched, false);
  EXPECT_EQ(untouched, raw) << "a null name is ignored";
  ZelID id;
  uint32_t walked = 0;
  for (bool more = internal->firstClassId(&id); more; more = internal->nextClassId(&id)) {
    ++walked;
    const char* name = internal->className(&id);
    ASSERT_NE(name, nullptr);
    SCOPED_TRACE(name);
    const RegisteredClass& entry = registeredClass(name);
    EXPECT_EQ(canonicalText(entry.id), canonicalText(id));
    IZelUnknown *first = nullptr, *second = nullptr, *theirs = nullptr;
    uint32_t status = component_->createInstance(&id, &first);
    component_->createInstance(&id, &second);
    other->createInstance(&id, &theirs);
    IPtr<IZelUnknown> holdFirst(first), holdSecond(second), holdTheirs(theirs);
    EXPECT_EQ(std::tuple(status, first == second, first == theirs),
              std::tuple(entry.singleton ? 2u : 1u, entry.singleton, entry.singleton));
    EXPECT_STREQ(first->className(), name);
  }
  EXPECT_EQ(walked, internal->classCount());
}

TEST(StaticConstants, TheTransformFileFilterIsTheHostsText) {
  EXPECT_EQ(std::u16string(transformFilesFilter().c_str()), u"Transform Files (*.tfm)");
}

}  // namespace
