#include "host/cad/cad_model.h"

#include <map>
#include <mutex>
#include <utility>

#include "host/cad/cad_surface_model.h"

IPtr<HostDocObject> addCadModel(HostDocument& document, const std::u16string& name, HostMesh* mesh,
                                std::optional<DocObjectDescription::Transform> transform) {
  DocObjectDescription description{kCadType, name, std::move(transform), {}, {}};
  description.subObjects.emplace_back(kSurfaceModel, IPtr<IZelUnknown>(mesh));
  // The general model the aligners fit onto: the same tessellation.
  description.subObjects.emplace_back(kGeneralModel, IPtr<IZelUnknown>(mesh));
  return document.add(std::move(description), false);
}

namespace {

// The models of the CAD objects made so far, by model id; an object's later model replaces its earlier.
struct ModelsById {
  std::mutex mutex;
  std::map<int32_t, std::weak_ptr<const BrepModel>> models;  // guarded by mutex
};

ModelsById& modelsById() {
  static ModelsById models;
  return models;
}

}  // namespace

std::shared_ptr<const BrepModel> cadModelById(int32_t id) {
  ModelsById& registry = modelsById();
  std::lock_guard lock(registry.mutex);
  auto found = registry.models.find(id);
  return found == registry.models.end() ? nullptr : found->second.lock();
}

IPtr<HostDocObject> addCadModel(HostDocument& document, const std::u16string& name,
                                std::shared_ptr<const BrepModel> model,
                                std::optional<DocObjectDescription::Transform> transform) {
  IPtr<CadSurfaceModel> surface(new CadSurfaceModel(model));
  IPtr<HostDocObject> object = addCadModel(document, name, surface.get(), std::move(transform));
  if (object) {
    ModelsById& registry = modelsById();
    std::lock_guard lock(registry.mutex);
    registry.models[object->id()] = model;
  }
  return object;
}

IPtr<HostDocObject> loadCadModel(HostDocument& document, const std::u16string& name, const std::string& path,
                                 CadFileReading* units, std::chrono::milliseconds timeLimit) {
  StepModel read = readStepModel(path, timeLimit);
  if (units) *units = {read.lengthUnits, read.metresAssumed, std::move(read.warnings)};
  return addCadModel(document, name, std::move(read.model));
}
