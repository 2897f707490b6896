#pragma once

// The fitters that recreate nominal features from a CAD model, as the quick-probe command asks for them.
// Both take the model by "<CAD Model>" (the document object's model id, IZelObjectModelId) and fit no points.
//
// The face fitter ("<Face Identifier>", "<Same Faces>", "<Adjacent Only>", "<ContactDatum>") gives the
// feature of the face's exact surface: a plane (through the centre of its faces, normal out of the material),
// a cylinder or a cone (between the ends of its faces along the axis) or a sphere; a torus or another surface
// gives none. With "<Same Faces>" every face of the surface counts, with "<Adjacent Only>" only those joined
// to the face through faces of the surface. "<ContactDatum>" asks for the surface itself, which is all this
// host gives.
//
// The edge fitter ("<Edge Identifier>", "<Allow Convert To Arc>", "<Offset>") gives the feature of the loop
// the edge closes on a plane next to it: a circle, an oval, rectangular or rounded slot; otherwise the edge
// itself, a line or (when converting to an arc is allowed) a circle. The feature lies "<Offset>" out along
// the plane's normal. When the caller sets "<CadEdgeBvs>" to a bit-vector array, the fitter appends the set
// of edges the feature covers.

#include "host/fitting/host_feature_fitter.h"

class HostCadFaceFitter final : public HostFitterKind<HostCadFaceFitter> {
 public:
  static constexpr const char* interfaceName = "HostCadFaceFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};

class HostCadEdgeFitter final : public HostFitterKind<HostCadEdgeFitter> {
 public:
  static constexpr const char* interfaceName = "HostCadEdgeFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};
