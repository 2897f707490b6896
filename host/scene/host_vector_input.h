#pragma once

// The stand-in host's point input by picking ("IZelVectorInput" with "ITripletInputNormal"): the host's
// picker casts the pointer's ray at the object's surface model, and the hit comes back in the object's own
// coordinates with the outward normal of the element hit.

#include "host/core/host_unknown.h"
#include "host_api/vector_input.h"

class HostVectorInput : public IZelVectorInput, public ITripletInputNormal, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostVectorInput";

  bool accept(IPhaseService* phases, IZelDocObject* object) override;
  bool activate() override;
  void stop() override;
  // The stand-in view shows nothing while the user aims.
  void pointerPressed() override {}
  void pointerMoved() override {}
  bool pick(IGfxMouseData* mouse, IZelDocObject* object, Vector3& point) override;
  bool normal(Vector3& out) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool active_ = false;
  bool hit_ = false;
  Vector3 normal_;
};
