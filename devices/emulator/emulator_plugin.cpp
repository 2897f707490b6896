#include "devices/emulator/emulator_plugin.h"

#include "devices/emulator/emulation_run.h"
#include "devices/emulator/emulator_input_handlers.h"
#include "devices/emulator/emulator_receiver.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<EmulatorPlugin> registration(registeredClass("EmulatorPlugin"));

constexpr const char16_t* kReferenceObjectName = u"RefObject";
constexpr const char* kError = "Error";

}  // namespace

IPtr<IZelDocObject> findReferenceObject() {
  SPtr<IZelDoc> document;
  if (!document) return {};
  return IPtr<IZelDocObject>(document->findObject(ZelString(kReferenceObjectName)));
}

EmulatorPlugin::EmulatorPlugin() : name_(u"Hard Probe Emulator") {}

EmulatorPlugin::~EmulatorPlugin() = default;

bool EmulatorPlugin::hasReferenceObject() {
  return static_cast<bool>(findReferenceObject());
}

void EmulatorPlugin::run(IZelHardProbeDataReceiver* receiver) {
  emulate<HardProbeEventHandler>(EmulatorFace::kSingle,
                                 static_cast<IZelHardProbePlugin*>(this)->isConnected(), receiver);
}

void EmulatorPlugin::run(IZelHardProbeContinuousDataReceiver* receiver) {
  emulate<HardProbeContinuousEventHandler>(
      EmulatorFace::kContinuous, static_cast<IZelHardProbeContinuousPlugin*>(this)->isConnected(), receiver);
}

template <class Handler, class Target>
void EmulatorPlugin::emulate(EmulatorFace face, bool connected, Target* receiver) {
  IPtr<Receiver> adapter(new Receiver(receiver));
  const Claim claim = claimRun(face, connected);
  if (claim == Claim::kClaimed) {
    emulateClaimed<Handler>(face, *adapter);
  } else if (claim == Claim::kRefused) {
    adapter->onCustomEvent(ZelCString(kError), nullptr);
  }
  releaseRun(face, claim);
}

template <class Handler>
void EmulatorPlugin::emulateClaimed(EmulatorFace face, Receiver& adapter) {
  IPtr<IZelDocObject> reference = findReferenceObject();
  if (!reference) {
    adapter.onCustomEvent(ZelCString(kError), nullptr);
    return;
  }
  auto run = std::make_shared<EmulationRun>(EmulationParameters::fromSettings(), reference.get(), &adapter);
  run->handler = std::make_unique<Handler>(*this, *run);
  publish(face, run);
  run->queue.run();
  // Only a continuous target hears of the end: the single-point receiver has no such call.
  adapter.onStop();
}

EmulatorPlugin::Claim EmulatorPlugin::claimRun(EmulatorFace face, bool connected) {
  std::lock_guard lock(runLock_);
  // A run of this face has begun, so a stop still owed to an earlier one would now be taken for this one's.
  stopsOf(face).runBegins();
  if (!connected) return Claim::kNotConnected;
  if (activeFace_) return Claim::kRefused;
  activeFace_ = face;
  return Claim::kClaimed;
}

void EmulatorPlugin::publish(EmulatorFace face, const std::shared_ptr<EmulationRun>& run) {
  std::lock_guard lock(runLock_);
  run_ = run;
  if (stopsOf(face).requested()) run->queue.stop();
}

void EmulatorPlugin::releaseRun(EmulatorFace face, Claim claim) {
  std::shared_ptr<EmulationRun> ended;  // let go of outside the lock: its end releases host objects
  std::lock_guard lock(runLock_);
  if (claim == Claim::kClaimed) {
    activeFace_.reset();
    ended = std::move(run_);
  }
  stopsOf(face).runEnds();
}

void EmulatorPlugin::stopFace(EmulatorFace face) {
  std::lock_guard lock(runLock_);
  const bool running = activeFace_ == face;
  stopsOf(face).stopArrives(running);
  if (running && run_) run_->queue.stop();
}

std::shared_ptr<EmulatorPlugin::IEventHandler> EmulatorPlugin::inputHandler() {
  std::lock_guard lock(runLock_);
  if (!run_) return {};
  return std::shared_ptr<IEventHandler>(run_, run_->handler.get());
}

void EmulatorPlugin::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelPlugin*>(this))
      .offer<IZelPlugin>(this)
      .offer<IZelEmulatorPlugin>(this)
      .offer<IZelHardProbePlugin>(this)
      .offer<IZelHardProbeContinuousPlugin>(this)
      .end();
}
