#pragma once

// What the module's own plug-ins (the hard-probe emulator and the log replay) share: the transform
// operations over the alignment services, and no information texts and no option entries of their own.
// The name stays with each plug-in.

#include <atomic>

#include "devices/alignment/plugin_transform.h"
#include "devices/contracts/plugin.h"

class ModulePlugin : public IZelPlugin {
 public:
  ZelString reservedText1() override { return {}; }
  void reserved1() override {}
  ZelString reservedText2() override { return {}; }
  void reserved2() override {}
  void setHardwareMatrix(const Matrix4x4& matrix) override { transform_.setHardwareMatrix(matrix); }
  void reloadObjectMatrix() override { transform_.reloadObjectMatrix(); }
  void resetObjectMatrix() override { transform_.resetObjectMatrix(); }
  const Matrix4x4& hardwareMatrix() override { return transform_.hardwareMatrix(); }
  Matrix4x4& deviceMatrix(Matrix4x4& out) override { return transform_.deviceMatrix(out); }
  int32_t optionCount(const ZelCString&) override { return 0; }
  ZelCString optionKey(const ZelCString&, int32_t) override { return {}; }
  ZelCString optionDevice(const ZelCString&) override { return {}; }
  ZelString optionCaption(const ZelCString&) override { return {}; }
  uint32_t optionIconSize(const ZelCString&) override { return 0; }
  bool optionIcon(const ZelCString&, uint8_t*) override { return false; }
  bool runOption(const ZelCString&) override { return false; }

 private:
  PluginTransform transform_;
};

// One face of a module plug-in: always available, and connecting only flips the face's own flag. A plug-in
// with several faces derives one of these per face, so each face keeps its flag (the faces' operations share
// their signatures and would otherwise share one implementation). The flag is read on the device's worker
// thread while the main thread may change it.
template <class Face>
class ModulePluginFace : public Face {
 public:
  bool isAvailable() override { return true; }
  bool connect(ZelString&) override {
    connected_ = true;
    return true;
  }
  bool disconnect() override {
    connected_ = false;
    return true;
  }
  bool isConnected() override { return connected_; }

 private:
  std::atomic<bool> connected_{false};
};

// A face whose stop reaches the plug-in together with the face it came through, for a plug-in that keeps
// the runs of its faces apart (a stop that one device sends must not end another device's run).
template <class Face, auto kFace>
class StoppablePluginFace : public ModulePluginFace<Face> {
 public:
  void stop() override { stopFace(kFace); }

 protected:
  virtual void stopFace(decltype(kFace) face) = 0;
};
