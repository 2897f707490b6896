#include "commands/measure/cross_section_receiver.h"

#include "devices/events/acquisition_error.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"

PalperaCrossSectionCmd::HardProbeDataReceiver::HardProbeDataReceiver(PalperaCrossSectionCmd& parent,
                                                                     const SectionPlaneList& planes)
    : parent_(parent) {
  crossings_.setPlanes(planes);
}

void PalperaCrossSectionCmd::HardProbeDataReceiver::onMoved(const Vector3& position, const Vector3& to,
                                                            const Vector3& up) {
  parent_.followProbe(position, to, up);
}

void PalperaCrossSectionCmd::HardProbeDataReceiver::onPointSampled(const Vector3& position, const Vector3& to,
                                                                   const Vector3&) {
  crossings_.add(position, [&](int32_t plane, const Vector3& point) {
    if (parent_.hasDisplayModel()) parent_.addSectionPoint(plane, point, to);
  });
}

void PalperaCrossSectionCmd::HardProbeDataReceiver::onStop() {
  IPtr<HardProbeDataReceiver> self(this);  // the command lets go of the receiver
  parent_.stopCapture(true);
}

void PalperaCrossSectionCmd::HardProbeDataReceiver::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  if (!isAcquisitionError(name)) return;
  IPtr<HardProbeDataReceiver> self(this);
  parent_.onAcquisitionError();
}

void PalperaCrossSectionCmd::HardProbeDataReceiver::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelHardProbeContinuousDataReceiver*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeContinuousDataReceiver>(this)
      .end();
}
