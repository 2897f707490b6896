#pragma once

// The temperature scale of the part: 1 / (1 - (20 - T) x alpha), from the part temperature T (degrees
// Celsius) and the thermal expansion coefficient alpha of a material of the materials library, applied
// uniformly. It is kept in the host document as a chunk block (chunk_format.md) with the material, the
// temperature and the temperature-compensation command's unit choice, and goes back to its defaults on
// "Document/Reset". Every change fires "Palpera/Tile/Temperature Compensation Updated".

#include "devices/alignment/alignment_services.h"
#include "framework/data/zel_data_receiver_base.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/component_data.h"
#include "host_api/event_data_store.h"

class PluginDeviceScaleAlignmentService : public IZelPluginDeviceScaleAlignmentService,
                                          public IZelComponentDataReader,
                                          public IZelComponentDataReaderV2,
                                          public IZelComponentDataWriter,
                                          public ZelDataReceiverBase,
                                          public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceScaleAlignmentService";
  // The reference temperature of the expansion coefficients, degrees Celsius.
  static constexpr double kReferenceTemperature = 20.0;

  PluginDeviceScaleAlignmentService();
  ~PluginDeviceScaleAlignmentService() override;

  void setMaterial(const ZelCString& name, double temperature) override;
  void material(ZelCString& name, double& temperature) override;
  const Matrix4x4* matrix() override { return &matrix_; }
  void setUnits(int32_t units) override;
  int32_t units() override { return units_; }

  // A block of another class, or a damaged one, is refused and changes nothing.
  bool read(IZelComponentDataSource* source) override;
  void loadDefaults() override { setMaterial(ZelCString(), kReferenceTemperature); }
  bool write(IZelComponentDataSink* sink) override;

  bool onNotify(const char* key) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void recompute();
  void announce();

  double temperature_ = kReferenceTemperature;
  ZelCString material_;
  int32_t units_ = -1;
  Matrix4x4 matrix_;
  SPtr<IDataStore> dataStore_;
  SPtr<IEventDataStore> events_;
};
