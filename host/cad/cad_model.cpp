#include "host/cad/cad_model.h"

#include <utility>

#include "host/cad/cad_surface_model.h"

IPtr<HostDocObject> addCadModel(HostDocument& document, const std::u16string& name, HostMesh* mesh,
                                std::optional<DocObjectDescription::Transform> transform) {
  DocObjectDescription description{kCadType, name, std::move(transform), {}, {}};
  description.subObjects.emplace_back(kSurfaceModel, IPtr<IZelUnknown>(mesh));
  return document.add(std::move(description), false);
}

IPtr<HostDocObject> addCadModel(HostDocument& document, const std::u16string& name,
                                std::shared_ptr<const BrepModel> model,
                                std::optional<DocObjectDescription::Transform> transform) {
  IPtr<CadSurfaceModel> surface(new CadSurfaceModel(std::move(model)));
  return addCadModel(document, name, surface.get(), std::move(transform));
}

IPtr<HostDocObject> loadCadModel(HostDocument& document, const std::u16string& name,
                                 const std::string& path) {
  return addCadModel(document, name, readStepModel(path));
}
