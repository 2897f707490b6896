#include "host/cad/cad_model.h"

#include <utility>

IPtr<HostDocObject> addCadModel(HostDocument& document, const std::u16string& name, HostMesh* mesh,
                                std::optional<DocObjectDescription::Transform> transform) {
  DocObjectDescription description{kCadType, name, std::move(transform), {}, {}};
  description.subObjects.emplace_back(kSurfaceModel, IPtr<IZelUnknown>(mesh));
  return document.add(std::move(description), false);
}
