#pragma once

// The keys of a creator's parameter table and of the probing record a creator stores on its feature: the
// contract between the collectors that fill the table, the creators that read it and the edit command that
// refits from the record. The texts are stored in documents and never change.

// Probe-tip centres in probing order (IZelVectorsValue).
inline constexpr char16_t kSampledPointsKey[] = u"<SampledPoints>";
// The point taken with the stop button, on the free side of the surface (IZelVectorValue).
inline constexpr char16_t kStopPointKey[] = u"<StopPoint>";
// The probe-tip radius in metres (IZelDoubleValue).
inline constexpr char16_t kProbeRadiusKey[] = u"<ProbeRadius>";
// Each touch's travel into it, a unit direction towards the touch, in probing order; zero where the device
// reported none (IZelVectorsValue). A creator may start its fit from them.
inline constexpr char16_t kApproachesKey[] = u"<Approaches>";
// The plane a planar feature is probed in (IZelEmbeddedFeatureParameter holding an IZelPlane).
inline constexpr char16_t kWorkPlaneKey[] = u"<WorkPlane>";
// The children of a composite feature (a nested IZelParameterTable), named "<Feature1>", "<Feature2>", ... in
// the order they were probed.
inline constexpr char16_t kChildFeaturesKey[] = u"<ChildFeatures>";
inline constexpr char16_t kChildFeaturePrefix[] = u"<Feature";
inline constexpr char16_t kTopPlaneKey[] = u"<TopPlane>";
inline constexpr char16_t kBottomPlaneKey[] = u"<BottomPlane>";
// Present and not 0 on a circle cut into its work plane's face, a slot's end or corner: a hole, whichever
// side of it the stop point lies on (IZelIntValue).
inline constexpr char16_t kHoleKey[] = u"<Hole>";

// The probing record: the feature parameter "<ProbeConstruction>", a table holding "<ZelID>" (the class id of
// the creator that made the feature, IZelIDValue) and "<Parameters>" (a copy of the creator's table with
// "<CompensatedPoints>", the sampled points moved onto the compensated feature, added).
inline constexpr char16_t kProbeConstructionKey[] = u"<ProbeConstruction>";
inline constexpr char16_t kCreatorIdKey[] = u"<ZelID>";
inline constexpr char16_t kParametersKey[] = u"<Parameters>";
inline constexpr char16_t kCompensatedPointsKey[] = u"<CompensatedPoints>";
