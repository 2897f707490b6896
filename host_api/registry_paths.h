#pragma once

// The paths of the host registry (Corvane::IZelRegistry) both sides name. A path is folder names joined by
// "/" and ends in the entry's own name; its value is a class id in the registry's text form
// (ZelID::fromString).
//
// - lookup takes a whole path: a prefix below followed by a name, such as "Features/Types/IZelPoint".
// - entries walks a folder: the path without a trailing "/", such as
// "PluginDevices/TransformationFileReaders",
//   lists the values of "PluginDevices/TransformationFileReaders/<name>" in the order they were registered.

// Followed by a feature interface name: the class of that feature type.
inline constexpr char kFeatureTypesPath[] = "Features/Types/";
// Followed by a feature interface name (or by kDirectFitPath and one): the best-fit fitter of that type.
inline constexpr char kBestFitFitterPath[] = "Features/Fitters/BestFitFitter/";
inline constexpr char kDirectFitPath[] = "Direct/";
// Followed by a slot interface name: the fitter that builds the slot from its child features.
inline constexpr char kPalperaFitterPath[] = "Features/Fitters/PalperaFitter/";
// Followed by a collector name: the feature collector's class.
inline constexpr char kFeatureCollectorsPath[] = "Palpera/HardProbeFeatureCollectors/";
// A folder: one entry per transformation-file reader class, walked rather than looked up.
inline constexpr char kTransformationFileReadersPath[] = "PluginDevices/TransformationFileReaders";
// Followed by an interface name: the module class whose object the host root answers for that service name
// when the host has no service of its own by the name.
inline constexpr char kServicesPath[] = "Services/";
