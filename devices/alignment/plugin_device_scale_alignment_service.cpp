#include "devices/alignment/plugin_device_scale_alignment_service.h"

#include <cmath>
#include <cstring>
#include <string>

#include "devices/materials/thermal_expansion.h"
#include "framework/chunks/zel_binary_file_reader.h"
#include "framework/chunks/zel_binary_file_writer.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/zel_error_service.h"

namespace {

const ClassRegistration<PluginDeviceScaleAlignmentService> registration(
    registeredClass("PluginDeviceScaleAlignmentService"));

constexpr const char* kDocumentReset = "Document/Reset";
constexpr const char* kUpdated = "Palpera/Tile/Temperature Compensation Updated";
constexpr uint32_t kTemperatureChunk = 1010;
constexpr uint32_t kMaterialNameChunk = 0x10003;

void reportBadScale(const ZelCString& material, double temperature) {
  SPtr<IZelErrorService> errors;
  if (!errors) return;
  errors->report(tr("Temperature compensation is off: material %1 at %2 degrees gives no valid scale.",
                    ZelString(material.c_str()), ZelString::number(temperature)),
                 1, emptyZelCString());
}

// The block as read: applied only when every part of it was read.
struct ScaleBlock {
  ZelCString material;
  double temperature = PluginDeviceScaleAlignmentService::kReferenceTemperature;
  int32_t units = 0;
};

bool readTemperatureChunk(ZelBinaryFileReader& reader, ScaleBlock& block) {
  if (!reader.readDouble(block.temperature)) return false;
  if (!reader.beginChunk() || reader.type() != kMaterialNameChunk) return false;
  std::string name(reader.bytesLeftInChunk(), '\0');
  if (!name.empty() && !reader.readBytes(name.data(), name.size())) return false;
  reader.endChunk();
  block.material = ZelCString(name.c_str(), static_cast<int32_t>(name.size()));
  uint32_t units = 0;
  if (!reader.readU32(units)) return false;
  block.units = static_cast<int32_t>(units);
  return true;
}

}  // namespace

PluginDeviceScaleAlignmentService::PluginDeviceScaleAlignmentService() {
  if (events_) events_->addListener(kDocumentReset, this);
}

PluginDeviceScaleAlignmentService::~PluginDeviceScaleAlignmentService() {
  if (events_) events_->removeListener(kDocumentReset, this);
}

void PluginDeviceScaleAlignmentService::recompute() {
  matrix_ = Matrix4x4::identity();
  std::optional<double> expansion = thermalExpansionOf(material_);
  if (!expansion) return;
  // The coefficient comes from an outside file: a scale that is not a positive finite number would corrupt
  // every measured position, so it is refused and reported instead.
  const double scale = compensationScale(temperature_, *expansion);
  if (!isSoundScale(scale)) {
    reportBadScale(material_, temperature_);
    return;
  }
  matrix_ = Matrix4x4::uniformScaling(scale);
}

void PluginDeviceScaleAlignmentService::announce() {
  if (dataStore_) dataStore_->fireEvent(nullptr, kUpdated);
}

void PluginDeviceScaleAlignmentService::setMaterial(const ZelCString& name, double temperature) {
  material_ = ZelCString(name.c_str(), name.length());
  temperature_ = temperature;
  recompute();
  announce();
}

void PluginDeviceScaleAlignmentService::material(ZelCString& name, double& temperature) {
  name = ZelCString(material_.c_str(), material_.length());
  temperature = temperature_;
}

void PluginDeviceScaleAlignmentService::setUnits(int32_t units) {
  units_ = units;
  announce();
}

bool PluginDeviceScaleAlignmentService::read(IZelComponentDataSource* source) {
  IZelBinaryInStream* stream = source ? source->inStream() : nullptr;
  if (!stream) return false;
  ZelBinaryFileReader reader(stream);
  if (!reader.beginChunk() || !(reader.id() == classIdOf(interfaceName))) return false;
  ScaleBlock block;
  bool complete = false;
  while (reader.good() && reader.bytesLeftInChunk() > 0 && reader.beginChunk()) {
    if (reader.type() == kTemperatureChunk) complete = readTemperatureChunk(reader, block);
    reader.endChunk();
  }
  reader.endChunk();
  // A damaged block is not applied half-way: the service keeps its state.
  if (!complete || !reader.good()) return false;
  setMaterial(block.material, block.temperature);
  setUnits(block.units);
  return true;
}

bool PluginDeviceScaleAlignmentService::write(IZelComponentDataSink* sink) {
  IZelBinaryOutStream* stream = sink ? sink->outStream() : nullptr;
  if (!stream) return false;
  ZelBinaryFileWriter writer(stream);
  writer.beginChunk(ZelBinaryFileReader::kIdChunkType);
  classIdOf(interfaceName).write(writer);
  writer.beginChunk(kTemperatureChunk);
  writer.writeDouble(temperature_);
  writer.beginChunk(kMaterialNameChunk);
  writer.writeBytes(material_.c_str(), static_cast<uint64_t>(material_.length()));
  writer.endChunk();
  writer.writeI32(units_);
  writer.endChunk();
  writer.endChunk();
  return writer.close() && writer.good();
}

bool PluginDeviceScaleAlignmentService::onNotify(const char* key) {
  if (!key || std::strcmp(key, kDocumentReset) != 0) return false;
  loadDefaults();
  return true;
}

void PluginDeviceScaleAlignmentService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelPluginDeviceScaleAlignmentService>(this)
      .offer<IZelComponentDataReader>(this)
      .offer<IZelComponentDataReaderV2>(this)
      .offer<IZelComponentDataWriter>(this)
      .offer<IZelDataReceiver>(this)
      .end();
}
