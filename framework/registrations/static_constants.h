#pragma once

// Module-wide constants that several subsystems share: ids of host classes the module creates or
// recognises, fixed texts, colours and numbers. Values are part of stored files and host contracts.

#include <array>

#include "basic_types/zel_id.h"
#include "basic_types/zel_string.h"

// Host classes the module creates or recognises through the host root (the feature sub-objects' attachment
// id, which the host relies on too, is in host_api/host_class_ids.h).
inline constexpr ZelID kXamlImageSourceClassId{
    0x4b127d3e, 0x466d, 0x4953, {0x97, 0x03, 0x70, 0xfc, 0xac, 0xe5, 0xdd, 0x7a}};
inline constexpr ZelID kAlignmentGraphicsFirstClassId{
    0x04c253da, 0x14f5, 0x4517, {0x94, 0xbd, 0x81, 0x3f, 0x87, 0xb6, 0x88, 0xeb}};
inline constexpr ZelID kAlignmentGraphicsSecondClassId{
    0x2ef39bb2, 0x7cf4, 0x458a, {0x94, 0x54, 0xe5, 0xfc, 0xde, 0x73, 0x5c, 0xe0}};
inline constexpr ZelID kAlignmentCommandsClassId{
    0x0993e751, 0x6030, 0x4daf, {0x92, 0xaf, 0x48, 0xa5, 0x9d, 0x93, 0xb8, 0x92}};
inline constexpr ZelID kFeatureRecognitionFirstClassId{
    0x2748a698, 0x35de, 0x45f2, {0xbb, 0x6a, 0x1a, 0x70, 0x1c, 0xba, 0x1e, 0xcc}};
inline constexpr ZelID kFeatureRecognitionSecondClassId{
    0x5298d59d, 0x2414, 0x4860, {0xae, 0xfa, 0x6e, 0x30, 0xa8, 0xd3, 0x83, 0x0d}};
inline constexpr ZelID kLocationSetClassId{
    0xf16ac813, 0xdb9e, 0x41f2, {0xac, 0x90, 0x47, 0xe5, 0xe1, 0xa4, 0xed, 0x19}};
inline constexpr ZelID kObjectAlignmentHostClassId{
    0x883c5f1b, 0xa52d, 0x4cc0, {0x81, 0xf1, 0x80, 0xb6, 0x68, 0x1c, 0xfc, 0xe0}};

// The materials library's element and attribute names and its file.
inline constexpr char16_t kMaterialsNameI18n[] = u"name_i18n";
inline constexpr char16_t kMaterialsName[] = u"Name";
inline constexpr char16_t kMaterialsType[] = u"Type";
inline constexpr char16_t kMaterialsRoot[] = u"Materials";
inline constexpr char16_t kMaterialsFolder[] = u"materials";
inline constexpr char16_t kMaterialsFile[] = u"materials.mtlx";

// The information tiles: registration name and the XAML resources each one shows.
struct TileResource {
  const char* name;
  const char* xamlFiles;
};
inline constexpr TileResource kInfoTile{"hardprobe info tile", "HardProbeInfoControl.xaml"};
inline constexpr TileResource kRealTimeDeviationTile{"hardprobe real time deviation tile",
                                                     "HardProbeRealTimeDeviationControl.xaml"};
inline constexpr TileResource kDimensionTile{"hardprobe dimension tile",
                                             "HardProbeInfoControl.xaml,HardProbeDimensionControl.xaml"};

// Counters that number the objects of the capture and cross-section commands.
inline constexpr const char* kProbeCapturePointObjectCounter = "ProbeCapturePointObjectNumber";
inline constexpr const char* kProbeCaptureGroupObjectCounter = "ProbeCaptureGroupObjectNumber";
inline constexpr const char* kMergedObjectCounter = "MergedObjectNumber";
inline constexpr const char* kSectionPointObjectCounter = "SectionPointObjectNumber";

// The file-dialog filter of transform files, translated when the module loads.
const ZelString& transformFilesFilter();

// Element and attribute names of the device-event log.
namespace EventLogNames {
inline constexpr char16_t kPoint[] = u"Point";
inline constexpr char16_t kX[] = u"X";
inline constexpr char16_t kY[] = u"Y";
inline constexpr char16_t kZ[] = u"Z";
inline constexpr char16_t kSetRadius[] = u"SetRadius";
inline constexpr char16_t kOnMoved[] = u"OnMoved";
inline constexpr char16_t kTo[] = u"To";
inline constexpr char16_t kUp[] = u"Up";
inline constexpr char16_t kOnPointSampled[] = u"OnPointSampled";
inline constexpr char16_t kOnPointSampledOrientation[] = u"OnPointSampledOrientation";
inline constexpr char16_t kOnPointStop[] = u"OnPointStop";
inline constexpr char16_t kOnCustomEvent[] = u"OnCustomEvent";
inline constexpr char16_t kName[] = u"name";
inline constexpr char16_t kOnStartCapture[] = u"OnStartCapture";
inline constexpr char16_t kOnStopCapture[] = u"OnStopCapture";
inline constexpr char16_t kOnSampled[] = u"OnSampled";
inline constexpr char16_t kPoints[] = u"Points";
inline constexpr char16_t kOnStop[] = u"OnStop";
inline constexpr char16_t kTime[] = u"time";
}  // namespace EventLogNames

// Parameter keys of the slot creators' child features.
inline constexpr const char16_t* kSlotLineKeys[] = {u"<Line1>", u"<Line2>", u"<Line3>", u"<Line4>"};
inline constexpr const char16_t* kSlotCircleKeys[] = {u"<Circle1>", u"<Circle2>", u"<Circle3>", u"<Circle4>"};

// RGBA colours of planes 1, 2 and 3: red, green, blue.
using RgbaColour = std::array<float, 4>;
inline constexpr std::array<RgbaColour, 3> kPlaneColours321Widget{
    {{1.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 1.0f}}};
inline constexpr std::array<RgbaColour, 3> kPlaneColoursDeviceToPart = kPlaneColours321Widget;

// (sqrt(5) + 1) / 2, used by the iterative alignment's graphics.
inline constexpr double kGoldenRatio = 1.6180339887498949;

// Bits per bit-vector word is 1 << kBitVectorWordShift.
inline constexpr int kBitVectorWordShift = 5;
