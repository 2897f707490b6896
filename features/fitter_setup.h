#pragma once

// How the creators prepare a host best-fit fitter: the fitter of a feature type with its robust iterations
// off, the points it fits with all of them selected, and the plane it fits in. Each step does nothing that
// needs a host value the host cannot make.

#include "framework/object/iptr.h"
#include "host_api/feature_fitter.h"
#include "host_api/feature_kinds.h"

// The fitter registered under "Features/Fitters/BestFitFitter/" followed by featureType (an interface name,
// or "Direct/" and one) with "<Robust Fit Iterations>" = 0; empty when the registry has no such fitter.
IPtr<IZelFeatureFitter> setRobustFitIterations(const char* featureType);

// Gives the fitter the points and selects all of them ("<Selection>": one bit vector with bits 1..count).
void setFitSelection(IZelFeatureFitter& fitter, IZelPointSetInterface* points);

// With a plane: "<WorkPlane>" = {a point of the plane, its normal}. Always: "<JustBoundary>" = 1.
void setFitWorkPlane(IZelFeatureFitter& fitter, IZelPlane* plane);
