#pragma once

// The axis triad of the active hard-probe device in the 3-D view, placed by the device's current transform
// and kept at a steady size on screen by the inverse of the document's scene matrix. One lives per run of
// the host: its start-up task makes it, and it holds itself until the host shuts down. The setting
// "Palpera/Gfx/ShowCSYS" switches it on and off; it is drawn only while the hard-probe plug-in manager has
// a current plug-in. Without the document's graphics or the host's shape factory it draws nothing but still
// listens. Main thread only.

#include "framework/data/zel_data_receiver_base.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/shutdown.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_matrix_nodes.h"
#include "host_api/zel_scene_node.h"

class DeviceCSYSGfx : public ZelDataReceiverBase, public IShutdownListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "DeviceCSYSGfx";

  class AlignmentMatrixSource;
  class VisibilitySource;

  // Holds a reference on itself, released at shutdown only: make it with new and let it go.
  DeviceCSYSGfx();
  DeviceCSYSGfx(const DeviceCSYSGfx&) = delete;
  DeviceCSYSGfx& operator=(const DeviceCSYSGfx&) = delete;
  ~DeviceCSYSGfx() override;

  bool onIntChanged(const char* key, int32_t value) override;
  bool onNotify(const char* key) override;

  void onShutdown() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void subscribe(bool on);
  void buildScene(IZelGroupNode* root);
  void updateMatrixNode();

  IPtr<IGfxDoc> gfxDoc_;
  // The nodes stay in the scene when the object goes.
  IPtr<IZelSeparatorNode> separator_;
  IPtr<IZelMatrixSourceNode> matrixSourceNode_;
  IPtr<IZelMatrixNode> matrixNode_;
  bool holdsItself_ = false;
};
