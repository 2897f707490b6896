#pragma once

// The host's best-fit fitter of a feature type ("IZelPlane", "IZelCylinder") on a region of points: the bare
// fit, the peer of the module's roads that end in one.

#include <string>
#include <vector>

#include "basic_types/vector3.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/feature_fitter.h"
#include "host_api/registry_paths.h"
#include "tests/support/point_region.h"

inline bool hostFit(const char* featureType, const std::vector<Vector3>& points) {
  IPtr<IZelRegionHandler> region = pointRegion(points);
  RegPtr<IZelFeatureFitter> fitter(ZelCString((std::string(kBestFitFitterPath) + featureType).c_str()));
  fitter->setPointSet(queryPart<IZelPointSetInterface>(region.get()));
  IPtr<IZelFeature> fitted;
  fitted.takeOwnership(fitter->fit());
  return static_cast<bool>(fitted);
}
