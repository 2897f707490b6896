#include "host/core/host_settings.h"

namespace {
constexpr uint32_t kHostSettingFlags = 3;
constexpr int32_t kPathLength = 1024;
// Long enough for the names of every scanning plug-in a host could load.
constexpr int32_t kPluginListLength = 32767;
// Degrees between neighbouring segments of a section above which a fitted curve keeps a corner.
constexpr double kSectionCreaseAngle = 30.0;
}  // namespace

void registerHostSettings(HostDataStore& store) {
  store.addGroup("Directories");
  store.addStringItem("Directories/Temp Directory", kPathLength, ZelString(), kHostSettingFlags);
  store.addStringItem("Directories/Logs Directory", kPathLength, ZelString(), kHostSettingFlags);
  store.addGroup("DefaultFileNameDirectory");
  store.addStringItem("DefaultFileNameDirectory/common", kPathLength, ZelString(), kHostSettingFlags);
  store.addGroup("Memory");
  store.addIntItem("Memory/UseErrorService", 0, 0, 1, kHostSettingFlags);
  store.addGroup("General");
  store.addIntItem("General/Decimal Places", 3, 0, 12, kHostSettingFlags);
  store.addEvent("General/AlignmentChanged", nullptr);
  store.addGroup("View");
  store.addGroup("Graphics");
  store.addEvent("Graphics/NewBoundingBox", nullptr);
  store.addIntItem("View/Smooth Camera Transition", 1, 0, 1, kHostSettingFlags);
  store.addDoubleItem("View/Smooth Camera Transition Duration", 0.5, 0.0, 10.0, kHostSettingFlags);
  store.addGroup("Fonts and Languages");
  store.addIntItem("Fonts and Languages/Font Point Application", 9, 6, 72, kHostSettingFlags);
  store.addStringItem("Fonts and Languages/Font Family Application", 256, ZelString(u"Sans"),
                      kHostSettingFlags);
  // A command's dialog closes (fired by the command).
  store.addGroup("Command");
  store.addEvent("Command/DialogClosing", nullptr);
  store.addGroup("Advanced");
  store.addDoubleItem("Advanced/Section Crease Angle", kSectionCreaseAngle, 0.0, 180.0, kHostSettingFlags);
  store.addGroup("Plugins");
  store.addStringItem("Plugins/ScanningPlugin", 256, ZelString(), kHostSettingFlags);
  store.addStringItem("Plugins/InstalledScanningPlugins", kPluginListLength, ZelString(), kHostSettingFlags);
}
