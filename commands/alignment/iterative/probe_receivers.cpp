#include "commands/alignment/iterative/probe_receivers.h"

#include <algorithm>
#include <string_view>

#include "commands/alignment/common/assertion_sites.h"
#include "commands/alignment/iterative/target_data.h"
#include "devices/events/acquisition_error.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"

namespace {

template <class Receiver>
void queryReceiver(Receiver* receiver, const char* name, void** out) {
  QueryChain(name, out)
      .classLeaf(Receiver::interfaceName, receiver, receiver)
      .template offer<IZelPluginDataReceiver>(receiver)
      .template offer<IZelHardProbeDataReceiver>(receiver)
      .template offer<IZelHardProbeDataReceiverV2>(receiver)
      .end();
}

}  // namespace

using Cmd = PalperaIterativeAlignmentCmd;

// Each event holds the receiver, since the command may let it go while handling the event.
void Cmd::HardProbeDataReceiver::onMoved(const Vector3& point, const Vector3& to, const Vector3&) {
  const IPtr<HardProbeDataReceiver> self(this);
  direction_ = to;
  command_.onMoved(point);
}

void Cmd::HardProbeDataReceiver::onPointSampled(const Vector3& point) {
  const IPtr<HardProbeDataReceiver> self(this);
  command_.onPointMeasured(point, direction_, radius_);
}

void Cmd::HardProbeDataReceiver::onPointStop(const Vector3&) {
  const IPtr<HardProbeDataReceiver> self(this);
  command_.stopProbing(false);
}

void Cmd::HardProbeDataReceiver::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  const IPtr<HardProbeDataReceiver> self(this);
  const std::string_view event = name.c_str();
  if (event == IZelHardProbeDataReceiver::kUndoLastSampledEvent) {
    command_.undoLastSampled();
  } else if (event == "Cancel") {
    command_.stopProbing(true);
  } else if (isAcquisitionError(name)) {
    // A device that failed sends nothing more: the pass ends, and the device gets its matrix back.
    command_.stopProbing(true);
    reportAcquisitionError();
  }
}

void Cmd::HardProbeDataReceiver::queryInterface(const char* name, void** out, bool) {
  queryReceiver(this, name, out);
}

Cmd::FreeHardProbeDataReceiver::FreeHardProbeDataReceiver(PalperaIterativeAlignmentCmd& command,
                                                          const std::vector<TargetData>& targets)
    : command_(command), targets_(targets), dist_(targets.size(), 0.0) {
  if (targets.empty()) reportAssertion("!targetData_.empty()", assertion_sites::kIterativeSource, __LINE__);
  for (const TargetData& entry : targets)
    critDist_.push_back(entry.nominal ? entry.nominal->criticalDistance : kUnsetValue);
}

void Cmd::FreeHardProbeDataReceiver::onMoved(const Vector3& point, const Vector3&, const Vector3&) {
  const IPtr<FreeHardProbeDataReceiver> self(this);
  if (targets_.size() != critDist_.size()) {
    reportAssertion("targetData_.size() == critDist_.size()", assertion_sites::kIterativeSource, __LINE__);
    return;
  }
  if (targets_.size() != dist_.size()) {
    reportAssertion("targetData_.size() == dist_.size()", assertion_sites::kIterativeSource, __LINE__);
    return;
  }
  if (targets_.empty()) return;
  dist_ = probeDistances(targets_, command_.inModel(point), radius_);
  const size_t i = static_cast<size_t>(std::min_element(dist_.begin(), dist_.end()) - dist_.begin());
  const double c = critDist_[i];
  if (!isUnset(dist_[i]) && !isUnset(c) && c > dist_[i]) {
    const IPtr<Target> target = targets_[i].nominal;
    if (current_) {
      if (current_.get() == target.get()) return;
      viewTheme_.restore();
      command_.dropFreeTarget();
      current_.release();
      command_.showFreeProbingTile();
    }
    viewTheme_.apply();
    current_ = target;
    command_.approachTarget(target.get());
  } else if (current_) {
    moveCameraBack(viewTheme_);
    viewTheme_.remove();
    requestRedraw(false);
    command_.dropFreeTarget();
    current_.release();
    command_.showFreeProbingTile();
  }
}

void Cmd::FreeHardProbeDataReceiver::queryInterface(const char* name, void** out, bool) {
  queryReceiver(this, name, out);
}
