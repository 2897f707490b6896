#include "ui/probe/hard_probe_probe_gfx.h"

#include <algorithm>

#include "devices/registry/izel_plugin_service.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "host_api/host_log.h"
#include "ui/probe/hard_probe_probe_gfx_receivers.h"

namespace {

const ClassRegistration<HardProbeProbeGfx> registration(registeredClass("HardProbeProbeGfx"));

// The probe's sizes for a ball radius of s: ball s, shaft radius s/2, shaft length 9 shaft radii.
constexpr double kShaftRadiusPerRadius = 0.5;
constexpr double kShaftLengthPerShaftRadius = 9.0;

void setVisible(IZelUnknown* node, bool visible) {
  if (IZelNode* part = queryPart<IZelNode>(node)) part->setVisible(visible);
}

}  // namespace

HardProbeProbeGfx::HardProbeProbeGfx() = default;

HardProbeProbeGfx::~HardProbeProbeGfx() {
  detach();
}

void HardProbeProbeGfx::setParentObject(IZelDocObject* object) {
  parentObject_ = object;
}

void HardProbeProbeGfx::attach() {
  if (attached_) return;
  SPtr<IGfxPalperaGfxUtil> util;
  if (!util) return;
  probeGfx_.takeOwnership(util->createHardProbeGfx());
  if (!probeGfx_) return;
  setVisible(probeGfx_->auxiliaryNode(), false);
  attached_ = true;
  hangProbe();
  registerReceivers();
  SPtr<ILogReplayer> replayer;
  replaying_ = replayer && replayer->isReplaying();
}

void HardProbeProbeGfx::hangProbe() {
  SPtr<IGfxDoc> doc;
  if (!doc) return;
  setProbeRadius(kSmallestRadius);
  IZelNode* node = queryPart<IZelNode>(probeGfx_->probeNode());
  if (!node) return;
  if (parentObject_) {
    // The devices report world points, which the object's node would place a second time.
    probeFrame_.emplace(parentObject_.get(), "hard probe", WorldPointsNode::Place::first);
    probeParentNode_ = probeFrame_->group();
    if (probeParentNode_) probeParentNode_->addChild(node);
  } else {
    probeParentNode_ = doc->sceneRoot();
    if (probeParentNode_) probeParentNode_->addChild(node);
  }
}

void HardProbeProbeGfx::registerReceivers() {
  SPtr<IZelPluginService> devices;
  if (!devices) return;
  hardProbeDevice_ = devices->getDevice(ZelCString("HardProbe"));
  if (hardProbeDevice_) {
    dataReceiver_ = new DataReceiver(this);
    hardProbeDevice_->addReceiver(dataReceiver_.get());
  }
  continuousDevice_ = devices->getDevice(ZelCString("HardProbeContinuous"));
  if (continuousDevice_) {
    continuousDataReceiver_ = new ContinuousDataReceiver(this);
    continuousDevice_->addReceiver(continuousDataReceiver_.get());
  }
}

void HardProbeProbeGfx::detach() {
  if (!attached_) return;
  attached_ = false;
  unregisterReceivers();
  IZelNode* node = probeGfx_ ? queryPart<IZelNode>(probeGfx_->probeNode()) : nullptr;
  if (node && probeParentNode_) probeParentNode_->removeChild(node);
  probeParentNode_.release();
  probeFrame_.reset();
  probeGfx_.release();
  requestRedraw(false);
}

void HardProbeProbeGfx::unregisterReceivers() {
  if (hardProbeDevice_) hardProbeDevice_->removeReceiver(dataReceiver_.get());
  if (dataReceiver_) dataReceiver_->cut();
  if (continuousDevice_) continuousDevice_->removeReceiver(continuousDataReceiver_.get());
  if (continuousDataReceiver_) continuousDataReceiver_->cut();
  hardProbeDevice_.release();
  dataReceiver_.release();
  continuousDevice_.release();
  continuousDataReceiver_.release();
}

int32_t HardProbeProbeGfx::forwardToProbeGraphics(int32_t option, int32_t value) {
  return probeGfx_ ? probeGfx_->setDisplayOption(option, value) : 0;
}

void HardProbeProbeGfx::fitView(bool includeProbe) {
  SPtr<IGfxDoc> doc;
  if (doc && probeGfx_) {
    // Fitting leaves hidden nodes out: show the surroundings to take them in, hide the probe to leave it out.
    IZelUnknown* switched = includeProbe ? probeGfx_->auxiliaryNode() : probeGfx_->probeNode();
    setVisible(switched, includeProbe);
    doc->fitView(nullptr, 0, includeProbe);
    setVisible(switched, !includeProbe);
  }
  requestRedraw(false);
}

void HardProbeProbeGfx::setProbeRadius(double radius) {
  if (!probeGfx_) return;
  const double size = std::max(radius, kSmallestRadius);
  const double shaftRadius = size * kShaftRadiusPerRadius;
  probeGfx_->setProbeSize(size, shaftRadius, shaftRadius * kShaftLengthPerShaftRadius);
}

void HardProbeProbeGfx::setPose(const Vector3& position, const Vector3& direction) {
  if (!probeGfx_) return;
  // Devices report the direction from the shaft to the tip; the probe is drawn from the tip up the shaft.
  probeGfx_->setPose(position, -direction);
  requestRedraw(replaying_);
}

void HardProbeProbeGfx::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelHardProbeProbeGfx>(this).end();
}
