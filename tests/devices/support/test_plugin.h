#pragma once

// A device plug-in for tests: a name, the faces it answers (each with its own availability) and, optionally,
// the emulator mark. It acquires nothing.

#include "devices/plugins/module_plugin.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

template <class Face, class Receiver>
class TestPluginFace : public Face {
 public:
  bool isAvailable() override { return available_; }
  bool connect(ZelString&) override { return true; }
  bool disconnect() override { return true; }
  bool isConnected() override { return true; }
  void run(Receiver*) override {}
  void stop() override {}

 protected:
  bool available_ = true;
};

class TestPlugin : public ModulePlugin,
                   public TestPluginFace<IZelHardProbePlugin, IZelHardProbeDataReceiver>,
                   public TestPluginFace<IZelHardProbeContinuousPlugin, IZelHardProbeContinuousDataReceiver>,
                   public TestPluginFace<IZelLaserScanPlugin, IZelLaserScanDataReceiver>,
                   public IZelEmulatorPlugin,
                   public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "TestPlugin";

  struct Faces {
    bool single = false;  // answers the single-point face
    bool singleAvailable = true;
    bool continuous = false;
    bool continuousAvailable = true;
    bool laserScan = false;
    bool emulator = false;
  };

  TestPlugin(const char16_t* name, const Faces& faces) : faces_(faces) {
    name_.setBuffer(name, -1);
    TestPluginFace<IZelHardProbePlugin, IZelHardProbeDataReceiver>::available_ = faces.singleAvailable;
    TestPluginFace<IZelHardProbeContinuousPlugin, IZelHardProbeContinuousDataReceiver>::available_ =
        faces.continuousAvailable;
  }

  // A real arm with both hard-probe faces available.
  static TestPlugin* arm(const char16_t* name) {
    return new TestPlugin(name, {.single = true, .continuous = true});
  }
  // An emulator of both hard-probe faces and the scanner.
  static TestPlugin* emulator(const char16_t* name) {
    return new TestPlugin(name, {.single = true, .continuous = true, .laserScan = true, .emulator = true});
  }
  static TestPlugin* scanner(const char16_t* name) { return new TestPlugin(name, {.laserScan = true}); }

  const ZelString& getName() override { return name_; }
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
};
