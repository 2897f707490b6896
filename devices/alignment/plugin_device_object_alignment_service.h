#pragma once

// The object matrix: the part's software alignment. It is stored in the data store, restored on creation and
// on "Document/Reset" when "Palpera/Alignment/LoadSoftwareTransformation" is on, and follows the host: on
// "General/AlignmentChanged" the move of the reference object since the service last saw its transform (on
// creation, on "Document/Reset" and at the last such event; its whole transform when it saw none) is folded
// in on the left. The host creates it at start-up (an initialiser), so it hears every alignment from the
// start.

#include <optional>

#include "devices/alignment/alignment_services.h"
#include "devices/alignment/stored_matrix.h"
#include "framework/data/zel_data_receiver_base.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/event_data_store.h"
#include "host_api/zel_initializer.h"

class PluginDeviceObjectAlignmentService : public IZelPluginDeviceObjectAlignmentService,
                                           public ZelDataReceiverBase,
                                           public IZelInitializer,
                                           public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceObjectAlignmentService";

  PluginDeviceObjectAlignmentService();
  ~PluginDeviceObjectAlignmentService() override;

  void reset() override;
  void setMatrix(const Matrix4x4& matrix) override { stored_.matrix() = matrix; }
  const Matrix4x4* matrix() override { return &stored_.matrix(); }
  void store() override;
  void loadStored() override;

  bool onNotify(const char* key) override;
  void initialise() override {}

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void rememberPlacement();
  void foldInHostAlignment();

  StoredMatrix stored_;
  std::optional<Matrix4x4> seenPlacement_;  // the reference's transform when last seen
  SPtr<IDataStore> dataStore_;
  SPtr<IEventDataStore> events_;
};
