#include "host/fitting/fitting_family.h"

#include "host/fitting/best_fit_fitters.h"
#include "host/fitting/host_alignment_pair.h"
#include "host/fitting/host_curve_fit_data.h"
#include "host/fitting/host_curve_set.h"
#include "host/fitting/host_datum_align_modifier.h"
#include "host/fitting/host_planar_curve_fitter.h"
#include "host/fitting/host_spectrum_prim_fitter.h"
#include "host/fitting/slot_fitters.h"
#include "host_api/host_class_ids.h"
#include "host_api/registry_paths.h"

// A fitter holds what a caller set on it between two calls, so no two callers share one.
std::vector<ServiceFamily::HostClass> FittingFamily::hostClasses() const {
  return {
      hostClassOf<HostPlaneFitter>(kHostPlaneFitterClassId, {}),
      hostClassOf<HostLineFitter>(kHostLineFitterClassId, {}),
      hostClassOf<HostSphereFitter>(kHostSphereFitterClassId, {}),
      hostClassOf<HostArcFitter>(kHostArcFitterClassId, {}),
      hostClassOf<HostCylinderFitter>(kHostCylinderFitterClassId, {}),
      hostClassOf<HostConeFitter>(kHostConeFitterClassId, {}),
      hostClassOf<HostParallelPlanesFitter>(kHostParallelPlanesFitterClassId, {}),
      hostClassOf<HostRectangularSlotFitter>(kHostRectangularSlotFitterClassId, {}),
      hostClassOf<HostRoundedSlotFitter>(kHostRoundedSlotFitterClassId, {}),
      hostClassOf<HostCurveFitData>(kHostCurveFitDataClassId,
                                    {ICurveFitData::interfaceName, ICurveFitDataV2::interfaceName}),
      hostClassOf<HostSpectrumPrimFitter>(kHostSpectrumPrimFitterClassId,
                                          {ISpectrumPrimFitter::interfaceName}),
      hostClassOf<HostDatumAlignModifier>(kHostDatumAlignModifierClassId,
                                          {IZelDatumBasedAlignModifier::interfaceName}),
      hostClassOf<HostAlignmentPair>(kHostAlignmentPairClassId, {IZelAlignmentPair::interfaceName}),
      hostClassOf<HostPlanarCurveFitter>(kHostPlanarCurveFitterClassId, {IPlanarCurveFitter::interfaceName}),
      hostClassOf<HostCurveSet>(kHostCurveSetClassId, {ICurveSet::interfaceName}),
      hostClassOf<HostZelCurveSet>(kHostZelCurveSetClassId, {IZelCurveSet::interfaceName}),
  };
}

// A line fitted to points already in their plane is the same fit as one in space: both paths make it.
std::vector<ServiceFamily::RegistryEntry> FittingFamily::registryEntries() const {
  const std::string bestFit = kBestFitFitterPath;
  const std::string slot = kPalperaFitterPath;
  return {
      {bestFit + "IZelPlane", kHostPlaneFitterClassId},
      {bestFit + "IZelLine", kHostLineFitterClassId},
      {bestFit + kDirectFitPath + "IZelLine", kHostLineFitterClassId},
      {bestFit + "IZelSphere", kHostSphereFitterClassId},
      {bestFit + "IZelArc", kHostArcFitterClassId},
      {bestFit + "IZelCylinder", kHostCylinderFitterClassId},
      {bestFit + "IZelCone", kHostConeFitterClassId},
      {bestFit + "IZelParallelPlanes", kHostParallelPlanesFitterClassId},
      {slot + "IZelRectangularSlot", kHostRectangularSlotFitterClassId},
      {slot + "IZelRoundedSlot", kHostRoundedSlotFitterClassId},
  };
}
