#include "commands/plugin_dump/dump_receiver.h"

#include <iostream>
#include <locale>
#include <sstream>
#include <string>

#include "framework/object/query_chain.h"

namespace {

// One line in the making: the call's name, then its arguments as they are streamed.
class DumpLine {
 public:
  explicit DumpLine(const char* call) {
    text_.imbue(std::locale::classic());
    text_ << call << '(';
  }
  DumpLine(const DumpLine&) = delete;
  DumpLine& operator=(const DumpLine&) = delete;

  template <class Value>
  DumpLine& operator<<(const Value& value) {
    text_ << value;
    return *this;
  }
  // The next argument, after ", " unless it is the first.
  template <class Value>
  DumpLine& arg(const Value& value) {
    if (!first_) text_ << ", ";
    first_ = false;
    text_ << value;
    return *this;
  }

  // Writes the line whole and flushes it.
  ~DumpLine() {
    text_ << ')';
    std::cerr << text_.str() << std::endl;
  }

 private:
  std::ostringstream text_;
  bool first_ = true;
};

}  // namespace

void PalperaDumpCmd::Receiver::setProbeRadius(double radius) {
  DumpLine("setProbeRadius").arg(radius);
}

void PalperaDumpCmd::Receiver::onStartCapture() {
  DumpLine("onStartCapture");
}

void PalperaDumpCmd::Receiver::onStopCapture() {
  DumpLine("onStopCapture");
}

void PalperaDumpCmd::Receiver::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  DumpLine("onMoved").arg(point).arg(to).arg(up);
}

void PalperaDumpCmd::Receiver::onPointSampled(const Vector3& point) {
  DumpLine("onPointSampled").arg(point);
}

void PalperaDumpCmd::Receiver::onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) {
  DumpLine("onPointSampled").arg(point).arg(to).arg(up);
}

void PalperaDumpCmd::Receiver::onPointStop(const Vector3& point) {
  DumpLine("onPointStop").arg(point);
}

void PalperaDumpCmd::Receiver::onSampled(const Vector3& point, const Vector3& to, const Vector3& up,
                                         const void*, uint32_t count, uint32_t stride) {
  DumpLine("onSampled").arg(point).arg(to).arg(up).arg(static_cast<int32_t>(count))
      << " points, stride: " << static_cast<int32_t>(stride);
}

void PalperaDumpCmd::Receiver::onStop() {
  DumpLine("onStop");
}

void PalperaDumpCmd::Receiver::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  DumpLine("onCustomEvent") << name.c_str();
}

void PalperaDumpCmd::Receiver::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelHardProbeContinuousDataReceiver*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this)
      .offer<IZelHardProbeContinuousDataReceiver>(this)
      .offer<IZelLaserScanDataReceiver>(this)
      .end();
}
