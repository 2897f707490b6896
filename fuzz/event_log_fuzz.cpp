// A device-event log is a file anyone can hand to a replay: any bytes, played without the recorded gaps into
// a receiver of one kind, must end the replay without a crash, a hang or a leak, and a log the
// replay refuses must not have reached the receiver at all.

#include <cstddef>
#include <cstdint>
#include <fstream>

#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "fuzz/fuzz_host.h"
#include "tests/support/scratch_directory.h"

namespace {

const ScratchDirectory& scratch() {
  static ScratchDirectory directory;
  return directory;
}

// Counts the calls and touches every scan point it is handed, so a bad pointer or count shows.
class CountingReceiver : public IZelHardProbeDataReceiverV2,
                         public IZelHardProbeContinuousDataReceiver,
                         public IZelLaserScanDataReceiver,
                         public ZelUnknownImpl {
 public:
  void setProbeRadius(double) override { ++calls; }
  void onStartCapture() override { ++calls; }
  void onStopCapture() override { ++calls; }
  void onMoved(const Vector3&, const Vector3&, const Vector3&) override { ++calls; }
  void onPointSampled(const Vector3&) override { ++calls; }
  void onPointSampled(const Vector3&, const Vector3&, const Vector3&) override { ++calls; }
  void onPointStop(const Vector3&) override { ++calls; }
  void onStop() override { ++calls; }
  void onSampled(const Vector3&, const Vector3&, const Vector3&, const void* points, uint32_t count,
                 uint32_t stride) override {
    ++calls;
    if (count > 0 && (!points || stride != 0)) __builtin_trap();
    const auto* packed = static_cast<const Vector3*>(points);
    for (uint32_t i = 0; i < count; ++i) sum += packed[i].x + packed[i].y + packed[i].z;
  }
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override {
    ++calls;
    if (payload) __builtin_trap();
    sum += name.length();
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("CountingReceiver", this, this).end();
  }
  const char* className() override { return "CountingReceiver"; }

  size_t calls = 0;
  double sum = 0;
};

template <class Kind>
void replayInto(Kind* target) {
  IPtr<PluginDeviceDataXMLReader> reader;
  reader.createInstance(classIdOf(PluginDeviceDataXMLReader::interfaceName));
  if (!reader) __builtin_trap();
  IPtr<PluginDeviceDataXMLReader::Receiver> adapter(new PluginDeviceDataXMLReader::Receiver(target));
  reader->setReceiver(adapter.get());
  reader->setPaced(false);
  reader->setFileName(scratch().module("run.xml"));
  auto* counting = dynamic_cast<CountingReceiver*>(target);
  size_t before = counting->calls;
  if (!reader->replay() && counting->calls != before) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzHost();
  std::ofstream(scratch().system("run.xml"), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  // One kind per input, so that a log of megabytes is read once: the length chooses, and every mutation that
  // changes it may choose another.
  IPtr<CountingReceiver> receiver(new CountingReceiver);
  switch (size % 3) {
    case 0:
      replayInto(static_cast<IZelHardProbeDataReceiver*>(receiver.get()));
      break;
    case 1:
      replayInto(static_cast<IZelHardProbeContinuousDataReceiver*>(receiver.get()));
      break;
    default:
      replayInto(static_cast<IZelLaserScanDataReceiver*>(receiver.get()));
  }
  return 0;
}
