#pragma once

// Loads a CAD model into the stand-in host's document: an object of type "CAD" whose sub-object "SurfModel"
// is the given mesh, or the surface model (CadSurfaceModel) of a B-rep model; its sub-object "GenModel",
// which the aligners fit onto, is the same mesh. The module's reference model is
// the one named "RefObject".

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/cad/brep_model.h"
#include "host/cad/host_mesh.h"
#include "host/document/host_doc_object.h"
#include "host/document/host_document.h"

inline constexpr const char* kCadType = "CAD";
inline constexpr const char* kSurfaceModel = "SurfModel";
inline constexpr const char* kGeneralModel = "GenModel";

// The new object; its name is taken as it is, even when another object has it.
IPtr<HostDocObject> addCadModel(HostDocument& document, const std::u16string& name, HostMesh* mesh,
                                std::optional<DocObjectDescription::Transform> transform = std::nullopt);
IPtr<HostDocObject> addCadModel(HostDocument& document, const std::u16string& name,
                                std::shared_ptr<const BrepModel> model,
                                std::optional<DocObjectDescription::Transform> transform = std::nullopt);
// What reading a file told besides its model: the length units it declares for its solids and the
// warnings, as StepModel gives them.
struct CadFileReading {
  std::string lengthUnits;
  bool metresAssumed = false;
  std::vector<std::string> warnings;
};
// Reads the STEP file and adds its model, in metres; throws CadFileError, leaving the document as it was,
// when the file gives no model within timeLimit (readStepModel). units, when given, receives the units the
// file declares and the warnings of the reading.
IPtr<HostDocObject> loadCadModel(HostDocument& document, const std::u16string& name, const std::string& path,
                                 CadFileReading* units = nullptr,
                                 std::chrono::milliseconds timeLimit = kCadReadingTimeLimit);
// The B-rep model of the CAD object whose model id (IZelObjectModelId) is id, while the object's surface
// model lives; null otherwise. The fitters find the model of their "<CAD Model>" this way.
std::shared_ptr<const BrepModel> cadModelById(int32_t id);
