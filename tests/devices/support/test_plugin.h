#pragma once

// A device plug-in for tests: a name, the faces it answers (each available) and, optionally, the emulator
// mark. Its runs play the scripts queued on script() (plugin_script.h); a face can be made to
// fail its next connects with a text of its own, and counts every connect.

#include <atomic>

#include "devices/contracts/plugin.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "tests/devices/support/plugin_script.h"

template <class Face, class Receiver>
class TestPluginFace : public Face {
 public:
  bool isAvailable() override { return true; }
  bool connect(ZelString& error) override {
    ++connects_;
    if (failuresLeft_ <= 0) return connected_ = true;
    --failuresLeft_;
    error = failure_;
    return false;
  }
  bool disconnect() override {
    connected_ = false;
    return true;
  }
  bool isConnected() override { return connected_; }
  void run(Receiver* receiver) override { script().run(receiver); }
  void stop() override { script().stop(); }

  // The next count connects fail with the text. Main thread.
  void failConnects(int count, const char16_t* text) {
    failuresLeft_ = count;
    failure_ = ZelString(text);
  }
  int connects() const { return connects_; }

 protected:
  virtual PluginScript& script() = 0;

 private:
  std::atomic<bool> connected_{false};
  int connects_ = 0;
  int failuresLeft_ = 0;
  ZelString failure_;
};

class TestPlugin : public IZelPlugin,
                   public TestPluginFace<IZelHardProbePlugin, IZelHardProbeDataReceiver>,
                   public TestPluginFace<IZelHardProbeContinuousPlugin, IZelHardProbeContinuousDataReceiver>,
                   public TestPluginFace<IZelLaserScanPlugin, IZelLaserScanDataReceiver>,
                   public IZelEmulatorPlugin,
                   public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "TestPlugin";

  struct Faces {  // the faces it answers; single is the single-point one
    bool single = false, continuous = false, laserScan = false, emulator = false;
  };

  TestPlugin(const char16_t* name, const Faces& faces) : faces_(faces) { name_.setBuffer(name, -1); }

  // A real arm with both hard-probe faces available.
  static TestPlugin* arm(const char16_t* name) {
    return new TestPlugin(name, {.single = true, .continuous = true});
  }
  // An emulator of both hard-probe faces and the scanner.
  static TestPlugin* emulator(const char16_t* name) {
    return new TestPlugin(name, {.single = true, .continuous = true, .laserScan = true, .emulator = true});
  }
  static TestPlugin* scanner(const char16_t* name) { return new TestPlugin(name, {.laserScan = true}); }

  PluginScript& script() override { return script_; }
  TestPluginFace<IZelHardProbeContinuousPlugin, IZelHardProbeContinuousDataReceiver>& continuousFace() {
    return *this;
  }

  const ZelString& getName() override { return name_; }
  ZelString reservedText1() override { return ZelString(); }
  void reserved1() override {}
  ZelString reservedText2() override { return ZelString(); }
  void reserved2() override {}
  void setHardwareMatrix(const Matrix4x4& matrix) override { hardware_ = matrix; }
  void reloadObjectMatrix() override { object_ = storedObject_; }
  void resetObjectMatrix() override { object_ = Matrix4x4::identity(); }
  const Matrix4x4& hardwareMatrix() override { return hardware_; }
  Matrix4x4& deviceMatrix(Matrix4x4& out) override { return out = object_ * hardware_; }
  // The object alignment the next reload takes up, as the object alignment service would hold it.
  void storeObjectMatrix(const Matrix4x4& matrix) { storedObject_ = matrix; }
  int32_t optionCount(const ZelCString&) override { return 0; }
  ZelCString optionKey(const ZelCString&, int32_t) override { return ZelCString(); }
  ZelCString optionDevice(const ZelCString&) override { return ZelCString(); }
  ZelString optionCaption(const ZelCString&) override { return ZelString(); }
  uint32_t optionIconSize(const ZelCString&) override { return 0; }
  bool optionIcon(const ZelCString&, uint8_t*) override { return false; }
  bool runOption(const ZelCString&) override { return false; }
  bool hasReferenceObject() override { return false; }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(interfaceName, this, static_cast<IZelPlugin*>(this)).offer<IZelPlugin>(this);
    if (faces_.single) chain.offer<IZelHardProbePlugin>(this);
    if (faces_.continuous) chain.offer<IZelHardProbeContinuousPlugin>(this);
    if (faces_.laserScan) chain.offer<IZelLaserScanPlugin>(this);
    if (faces_.emulator) chain.offer<IZelEmulatorPlugin>(this);
    chain.end();
  }
  const char* className() override { return interfaceName; }

 private:
  ZelString name_;
  Faces faces_;
  PluginScript script_;
  Matrix4x4 hardware_ = Matrix4x4::identity();
  Matrix4x4 object_ = Matrix4x4::identity();  // the cached object alignment
  Matrix4x4 storedObject_ = Matrix4x4::identity();
};
