#pragma once

// Points handed to the host's fitters: as a region of a point complex, and fitted by the best-fit fitter of
// a feature type. Shared by the creators and by the estimates that give the nonlinear fits their start.

#include <functional>

#include "features/point_list.h"
#include "framework/object/iptr.h"
#include "host_api/feature_fitter.h"
#include "host_api/feature_kinds.h"

// The points (6 doubles an entry: the point and an unused direction) in a point complex, made a region by
// the host's region handler; empty when a host service is missing.
IPtr<IZelRegionHandler> makePointRegion(const PointList& points);

// How a fit is set up: the fitter of featureType under "Features/Fitters/BestFitFitter/", all points
// selected and, unless the fitter is given points already in their plane, the work plane (null: none).
// startFrom, when given, hands the fitter its start before it is given the points; prepare, when given, hands
// it what else the fit takes after the work plane, and its false ends the fit with none.
struct FitSetUp {
  const char* featureType;
  IZelPlane* workPlane = nullptr;
  bool setsWorkPlane = true;
  std::function<void(IZelFeatureFitter&)> startFrom = nullptr;
  std::function<bool(IZelFeatureFitter&)> prepare = nullptr;
};

// The fitted feature, or none when a host service is missing or the points do not determine the feature;
// then failure, when given, receives the fitter's reason (empty when it gives none).
IPtr<IZelFeature> fitPoints(const PointList& points, const FitSetUp& setUp, ZelString* failure = nullptr);
