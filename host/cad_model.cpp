#include "host/cad_model.h"

#include <utility>

IPtr<HostDocObject> addCadModel(HostDocument& document, const std::u16string& name, HostMesh* mesh,
                                std::optional<DocObjectSpec::Transform> transform) {
  DocObjectSpec spec{kCadType, name, std::move(transform), {}, {}};
  spec.subObjects.emplace_back(kSurfaceModel, IPtr<IZelUnknown>(mesh));
  return document.add(std::move(spec), false);
}
