#pragma once

// The hardware matrix: the device's own alignment, set by the transform, alignment and move-device commands,
// always a rotation and a shift.
// It is stored in the data store and restored on creation and on "Document/Reset" when
// "Palpera/Alignment/LoadHardwareTransformation" is on.

#include "devices/alignment/alignment_services.h"
#include "devices/alignment/stored_matrix.h"
#include "framework/data/zel_data_receiver_base.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/event_data_store.h"

class PluginDeviceHardwareAlignmentService : public IZelPluginDeviceHardwareAlignmentService,
                                             public ZelDataReceiverBase,
                                             public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceHardwareAlignmentService";

  PluginDeviceHardwareAlignmentService();
  ~PluginDeviceHardwareAlignmentService() override;

  void reset() override;
  void setMatrix(const Matrix4x4& matrix, bool store) override;
  const Matrix4x4* matrix() override { return &stored_.matrix(); }
  void loadStored() override;
  void store() override;

  bool onNotify(const char* key) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  StoredMatrix stored_;
  SPtr<IDataStore> dataStore_;
  SPtr<IEventDataStore> events_;
};
