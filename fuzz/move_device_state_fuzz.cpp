// The move-device wizard's saved state is kept between sessions in a file the user may edit: whatever the
// store holds, activating "Move Device" and pressing its buttons in any order must not crash, never show a
// list of more than eight entries, and never leave the device a hardware matrix that is no proper rigid
// motion.
//
// Input: a byte for the step; then per slot (eight references, eight targets) a name byte (0: empty), a kind
// byte and three 16-bit coordinates in millimetres (little-endian); then one byte per action, its value
// modulo 9 choosing Resume, Next, Define Targets, Delete, Delete Pair, Done, Exit, a probe at one of the
// slots' positions, or a stop without a sample; the rest of the byte picks the list entry, the Exit answer or
// the slot.

#include <cstddef>
#include <cstdint>
#include <string>

#include "basic_types/matrix4x4.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "fuzz_host.h"
#include "host/gui/command_runner.h"
#include "host_api/zel_initializer.h"
#include "tests/support/test_device.h"

namespace {

constexpr const char* kGroup = "Plugins/Hard Probe Emulator/MoveDeviceWidget";
constexpr int kSlots = 16;
constexpr int kSlotBytes = 8;

// Control offsets of the wizard's buttons and lists.
enum : int32_t {
  kResume = 3,
  kReferenceList = 15,
  kDelete = 20,
  kTargetStart = 24,
  kTargetList = 31,
  kPairList = 33,
  kPairDelete = 34,
  kExit = 38,
  kNext = 39,
  kDone = 40,
};

struct Wizard {
  Wizard() {
    StandinHost& host = fuzzHost().host;
    run("PalperaDataItemAdder");
    host.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    host.core().dataStore().setInt(nullptr, "Palpera/Tile/ShowInfo", 0);
    devices.getService();
    if (!devices) __builtin_trap();
    devices->setDevice(ZelCString("HardProbe"), device.get());
    startTask("EmulatorPluginStartupTask");
    startTask("PluginManagerStartupTask");
    IZelPluginManager* manager = devices->getManager(ZelCString("HardProbe"));
    if (!manager ||
        !manager->setActivePlugin(queryPart<IZelPlugin>(host.devices().pluginHandler().plugins().back())))
      __builtin_trap();
    plugin = manager->currentPlugin();
    // A first run registers the wizard's items, so that the inputs can fill them, and one probing pass makes
    // the module's shared objects that live until the process ends (the tiles' graphics).
    start();
    press(2);
    press(7);
    device->deliver<IZelHardProbeDataReceiver>([](IZelHardProbeDataReceiver* r) { r->onPointStop({}); });
    runner.cancel();
  }

  static void run(const char* className) {
    IPtr<IZelInitializer> adder;
    adder.createInstance(classIdOf(className));
    if (adder) adder->initialise();
  }
  static void startTask(const char* className) {
    IPtr<IZelStartupTask> task;
    task.createInstance(classIdOf(className));
    if (task) task->run();
  }
  void start() {
    command.createInstance(classIdOf("PalperaMoveDeviceCmd"));
    if (runner.start(command.get()) != CommandRunner::Start::kStarted) __builtin_trap();
    base = dialog().idOf(u":MoveDeviceWidget:Box").value_or(0);
  }
  HostGuiDialog& dialog() { return fuzzHost().host.gui().dialog(); }
  void press(int32_t control) { dialog().pressButton(base + control); }
  void choose(int32_t list, int32_t entry) {
    const int32_t entries = dialog().listEntryCount(base + list);
    if (entries > 0) dialog().chooseEntry(base + list, entry % entries);
  }
  void checkLists() {
    for (int32_t list : {kReferenceList, kTargetList, kPairList})
      if (dialog().listEntryCount(base + list) > 8) __builtin_trap();
  }

  std::vector<std::string> journal;
  IPtr<TestDevice> device{new TestDevice("HardProbe", "IZelHardProbeDataReceiver", journal)};
  IPtr<IZelPluginService> devices;
  IZelPlugin* plugin = nullptr;
  CommandRunner runner{&fuzzHost().host.gui().commandContainer(), &fuzzHost().host.gui().dialog(),
                       &fuzzHost().host.scene().view()};
  IPtr<IComponentCommand> command;
  int32_t base = 0;
};

Wizard& wizard() {
  static NoDestructor<Wizard> made;
  return *made;
}

std::string key(int slot, const char* field) {
  const char* list = slot < 8 ? "Ref" : "Tar";
  return std::string(kGroup) + "/" + list + std::to_string(slot % 8) + "_" + field;
}

double millimetres(const uint8_t* bytes) {
  return static_cast<int16_t>(bytes[0] | bytes[1] << 8) / 1000.0;
}

void fillState(HostDataStore& store, const uint8_t* data) {
  store.setInt(nullptr, (std::string(kGroup) + "/State").c_str(), static_cast<int8_t>(data[0]));
  for (int slot = 0; slot < kSlots; ++slot) {
    const uint8_t* s = data + 1 + slot * kSlotBytes;
    const std::string name = s[0] ? "P" + std::to_string(s[0]) : "";
    store.setString(nullptr, key(slot, "Name").c_str(), ZelString(name.c_str()));
    store.setInt(nullptr, key(slot, "Type").c_str(), s[1]);
    store.setDouble(nullptr, key(slot, "X").c_str(), millimetres(s + 2));
    store.setDouble(nullptr, key(slot, "Y").c_str(), millimetres(s + 4));
    store.setDouble(nullptr, key(slot, "Z").c_str(), millimetres(s + 6));
  }
}

Vector3 slotPosition(const uint8_t* data, int slot) {
  const uint8_t* s = data + 1 + slot * kSlotBytes;
  return {millimetres(s + 2), millimetres(s + 4), millimetres(s + 6)};
}

void act(Wizard& w, const uint8_t* state, uint8_t byte) {
  const int choice = byte / 9;
  switch (byte % 9) {
    case 0:
      return w.press(kResume);
    case 1:
      return w.press(kNext);
    case 2:
      return w.press(kTargetStart);
    case 3:
      w.choose(kReferenceList, choice);
      return w.press(kDelete);
    case 4:
      w.choose(kPairList, choice);
      return w.press(kPairDelete);
    case 5:
      return w.press(kDone);
    case 6:
      fuzzHost().host.gui().simpleDialog().queueAnswer(choice % 3 + 1);
      return w.press(kExit);
    case 7: {
      const Vector3 p = slotPosition(state, choice % kSlots);
      w.device->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) {
        r->onPointSampled(p);
        r->onPointStop(p);
      });
      return;
    }
    default:
      w.device->deliver<IZelHardProbeDataReceiver>([](IZelHardProbeDataReceiver* r) { r->onPointStop({}); });
  }
}

bool isProperRigidMotion(const Matrix4x4& m) {
  return m.isRigid() && m.isAffine() && m.determinant3() >= 0.0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kStateBytes = 1 + kSlots * kSlotBytes;
  if (size < kStateBytes) return 0;
  Wizard& w = wizard();
  w.plugin->setHardwareMatrix(Matrix4x4::identity());
  fillState(fuzzHost().host.core().dataStore(), data);
  w.start();
  w.checkLists();
  for (size_t i = kStateBytes; i < size; ++i) {
    act(w, data, data[i]);
    w.checkLists();
    if (!w.runner.running()) break;
  }
  if (!isProperRigidMotion(w.plugin->hardwareMatrix())) __builtin_trap();
  if (w.runner.running()) w.runner.cancel();
  if (w.device->receiverCount() != 0) __builtin_trap();
  return 0;
}
