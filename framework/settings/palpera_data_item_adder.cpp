#include "framework/settings/palpera_data_item_adder.h"

#include <cstdint>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/settings/palpera_settings.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"

namespace {

const ClassRegistration<PalperaDataItemAdder> registration(registeredClass("PalperaDataItemAdder"));

constexpr uint32_t kUser = kUserSettingFlags;
constexpr uint32_t kRunTime = kRunTimeValueFlags;
constexpr int32_t kIntMax = INT32_MAX;
constexpr double kOneThirtieth = 1.0 / 30.0;
constexpr double kOneThird = 1.0 / 3.0;

// The registrations in their contractual order; each line is one row of the group's table.
void registerItems(IDataStore& s) {
  s.addGroup("Palpera");
  s.addGroup("Palpera/Events");
  s.addStringItem("Palpera/ActivePlugin", 256, tr("Hard Probe Emulator"), kUser);
  s.addIntItem("Palpera/Hard Probe Features In Command", 0, 0, 1, kRunTime);
  s.addGroup("Palpera/UserInstructions");
  s.addIntItem("Palpera/UserInstructions/FontSize", 16, 8, 72, kUser);
  s.addIntItem("Palpera/Logging", 0, 0, 1, kUser);
  s.addIntItem("Palpera/MoveEventRateLimit", 1, 0, 1, kUser);
  s.addDoubleItem("Palpera/MoveEventRateLimitValue", 30, 1, 360, kUser);
  s.addGroup("Palpera/Dialog");
  s.addIntItem("Palpera/Dialog/LargeFontSize", 20, 8, 72, kUser);
  s.addIntItem("Palpera/Dialog/LargeIcons", 0, 0, 1, kUser);
  s.addIntItem("Palpera/Dialog/LargeAnnotations", 0, 0, 1, kUser);
  s.addGroup("Palpera/FeatureMatching");
  s.addIntItem("Palpera/FeatureMatching/Enable", 1, 0, 1, kUser);
  s.addDoubleItem("Palpera/FeatureMatching/MaxDistance", 0.01, 0, kFloatMax, kUser);
  s.addDoubleItem("Palpera/FeatureMatching/MaxAngle", 5, 0, 90, kUser);
  s.addGroup("Palpera/IterativeAlignment");
  s.addDoubleItem("Palpera/IterativeAlignment/Tolerance", 0.001, 0, kFloatMax, kUser);
  s.addGroup("Palpera/ProbeCapture");
  s.addIntItem("Palpera/ProbeCapture/Mode", 0, 0, 2, kUser);
  s.addDoubleItem("Palpera/ProbeCapture/TimeRate", 0.5, kOneThirtieth, 100, kUser);
  s.addDoubleItem("Palpera/ProbeCapture/DistanceRate", 0.0254, 0, 10, kUser);
  s.addIntItem("Palpera/ProbeCapture/AutomaticViewResize", 1, 0, 1, kUser);
  s.addIntItem("Palpera/ProbeCapture/VirtualCamera", 1, 0, 1, kUser);
  s.addIntItem("Palpera/ProbeCapture/Merge", 1, 0, 1, kUser);
  s.addIntItem("Palpera/ProbeCapture/Sampling", 1, 0, 1, kUser);
  s.addDoubleItem("Palpera/ProbeCapture/Spacing", 0.000635, 0, 100, kUser);
  s.addGroup("Palpera/ProbeCrossSection");
  s.addIntItem("Palpera/ProbeCrossSection/AutomaticViewResize", 1, 0, 1, kUser);
  s.addIntItem("Palpera/ProbeCrossSection/VirtualCamera", 1, 0, 1, kUser);
  s.addDoubleItem("Palpera/ProbeCrossSection/CurveOffset", 0, 0, kFloatMax, kUser);
  s.addIntItem("Palpera/ProbeCrossSection/CurveFlipOffset", 0, 0, 1, kUser);
  s.addIntItem("Palpera/ProbeCrossSection/CurveType", 2, 0, 2, kUser);
  s.addIntItem("Palpera/ProbeCrossSection/CreateMultipleCurveObjects", 0, 0, 1, kUser);
  s.addIntItem("Palpera/ProbeCrossSection/CreateMultiplePointObjects", 1, 0, 1, kUser);
  s.addGroup("Palpera/Emulator");
  s.addDoubleItem("Palpera/Emulator/ProbeDiameter", 0.006, 0, 0.04, kUser);
  s.addDoubleItem("Palpera/Emulator/MaxNoiseFactor", 0.01, 0, 0.25, kUser);
  s.addIntItem("Palpera/Emulator/ExplicitlySet", 0, 0, 1, kUser);
  s.addEvent("Palpera/LogReplayFinished", nullptr);
  s.addGroup("Palpera/Tile");
  s.addIntItem("Palpera/Tile/FontSize", 20, 8, 72, kUser);
  s.addDoubleItem("Palpera/Tile/Scale", 1, kOneThird, 1, kUser);
  s.addIntItem("Palpera/Tile/ShowInfo", 1, 0, 1, kUser);
  s.addIntItem("Palpera/Tile/ShowFeatureInfo", 1, 0, 1, kUser);
  s.addIntItem("Palpera/Tile/ShowInstructions", 0, 0, 1, kUser);
  s.addEvent("Palpera/Tile/Clear", nullptr);
  s.addIntItem("Palpera/Tile/Active", 0, 0, 1, kRunTime);
  s.addIntItem("Palpera/Tile/FeatureInfoVisible", 1, 0, 1, kRunTime);
  s.addIntItem("Palpera/Tile/FeatureStatisticsVisible", 0, 0, 1, kRunTime);
  s.addIntItem("Palpera/Tile/BriefInstructionsVisible", 1, 0, 1, kRunTime);
  s.addStringItem("Palpera/Tile/FeatureName", 256, ZelString(), kRunTime);
  s.addIntItem("Palpera/Tile/NumPointsRequired", 0, 0, kIntMax, kRunTime);
  s.addIntItem("Palpera/Tile/NumPointsTaken", 0, 0, kIntMax, kRunTime);
  s.addDoubleItem("Palpera/Tile/FeatureStandardDeviation", kNotComputed, -kFloatMax, kFloatMax, kRunTime);
  s.addDoubleItem("Palpera/Tile/FeatureMaxNegativeDistance", kNotComputed, -kFloatMax, kFloatMax, kRunTime);
  s.addDoubleItem("Palpera/Tile/FeatureMaxPositiveDistance", kNotComputed, -kFloatMax, kFloatMax, kRunTime);
  s.addDoubleItem("Palpera/Tile/RealTimeDeviation", 0, -kFloatMax, kFloatMax, kRunTime);
  s.addDoubleItem("Palpera/Tile/RealTimeDeviationX", 0, -kFloatMax, kFloatMax, kRunTime);
  s.addDoubleItem("Palpera/Tile/RealTimeDeviationY", 0, -kFloatMax, kFloatMax, kRunTime);
  s.addDoubleItem("Palpera/Tile/RealTimeDeviationZ", 0, -kFloatMax, kFloatMax, kRunTime);
  s.addIntItem("Palpera/Tile/RealTimeDeviationStatus", 0, 0, 1, kRunTime);
  s.addStringItem("Palpera/Tile/BriefInstructions", 1024, ZelString(), kRunTime);
  s.addIntItem("Palpera/Tile/FullInstructions", 0, 0, 0, kRunTime);
  s.addIntItem("Palpera/Tile/DimensionDistanceVisible", 1, 0, 1, kRunTime);
  s.addIntItem("Palpera/Tile/DimensionAngleVisible", 1, 0, 1, kRunTime);
  s.addDoubleItem("Palpera/Tile/DimensionDistance", 0, -kFloatMax, kFloatMax, kRunTime);
  s.addDoubleItem("Palpera/Tile/DimensionAngle", 0, -kFloatMax, kFloatMax, kRunTime);
  s.addStringItem("Palpera/Tile/DimensionHeader", 256, ZelString(), kRunTime);
  s.addEvent("Palpera/Tile/Temperature Compensation Updated", nullptr);
  s.addGroup("Palpera/Gfx");
  s.addIntItem("Palpera/Gfx/ShowProbe", 1, 0, 1, kUser);
  s.addIntItem("Palpera/Gfx/TransparentReferenceObject", 1, 0, 1, kUser);
  s.addIntItem("Palpera/Gfx/ResetBoundingBox", 1, 0, 1, kUser);
  s.addIntItem("Palpera/Gfx/ShowCSYS", 0, 0, 1, kUser);
  s.addGroup("Palpera/Alignment");
  s.addIntItem("Palpera/Alignment/LoadHardwareTransformation", 1, 0, 1, kUser);
  s.addIntItem("Palpera/Alignment/LoadSoftwareTransformation", 0, 0, 1, kUser);
  s.addBlobItem("Palpera/Alignment/Hardware Alignment", 128, nullptr, kUser);
  s.addBlobItem("Palpera/Alignment/Object Alignment", 128, nullptr, kUser);
  s.addGroup("Palpera/RealTimeDeviation");
  s.addDoubleItem("Palpera/RealTimeDeviation/Tolerance", 0.001, 0, kFloatMax, kUser);
}

}  // namespace

void PalperaDataItemAdder::initialise() {
  SPtr<IDataStore> store;
  if (!store) return;
  registerItems(*store);
  store->completeGroup(store->registrationHandle(), "Palpera");
}

void PalperaDataItemAdder::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelInitializer>(this).end();
}
