#include "host/cad/kernel/step_translation.h"

#include <fstream>

#include <BRepTools.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <NCollection_DataMap.hxx>
#include <STEPControl_Reader.hxx>
#include <Standard_Failure.hxx>
#include <StepData_StepModel.hxx>
#include <StepShape_FaceSurface.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <TransferBRep.hxx>
#include <Transfer_TransientProcess.hxx>
#include <XSControl_TransferReader.hxx>
#include <XSControl_WorkSession.hxx>

#include "host/cad/kernel/brep_kernel.h"
#include "host/cad/kernel/byte_order_mark.h"
#include "host/cad/kernel/kernel_units.h"
#include "host/cad/kernel/step_text.h"

namespace {

// So many dropped faces are named; a count stands for the rest.
constexpr size_t kNamedFaces = 10;

using FaceLabels = NCollection_DataMap<TopoDS_Shape, uint64_t, TopTools_ShapeMapHasher>;

// Each face of the file the kernel translated, by its entity number; the numbers of the others.
struct Faces {
  FaceLabels translated;
  std::vector<uint64_t> dropped;
};

Faces facesOf(STEPControl_Reader& reader) {
  const Handle(StepData_StepModel) model = reader.StepModel();
  const Handle(Transfer_TransientProcess) process = reader.WS()->TransferReader()->TransientProcess();
  Faces faces;
  for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
    const Handle(Standard_Transient)& entity = model->Value(i);
    if (!entity->IsKind(STANDARD_TYPE(StepShape_FaceSurface))) continue;
    const uint64_t label = static_cast<uint64_t>(model->IdentLabel(entity));
    const TopoDS_Shape face = TransferBRep::ShapeResult(process, entity);
    if (face.IsNull())
      faces.dropped.push_back(label);
    else
      faces.translated.Bind(face, label);
  }
  return faces;
}

std::string listed(const std::vector<uint64_t>& labels) {
  std::string text;
  for (size_t i = 0; i < labels.size() && i < kNamedFaces; ++i)
    text += (i ? ", " : "") + entityName(labels[i]);
  if (labels.size() > kNamedFaces) text += " and " + std::to_string(labels.size() - kNamedFaces) + " more";
  return text;
}

bool hasFace(const TopoDS_Shape& shape) {
  return TopExp_Explorer(shape, TopAbs_FACE).More();
}

Translation refuse(const std::string& reason, const std::string& reportPath) {
  std::ofstream report(reportPath, std::ios::binary | std::ios::trunc);
  return report << reason << std::flush ? kRefused : kUnwritable;
}

Translation translate(const std::string& path, const std::string& what, const StepUnits& units,
                      const std::string& shapePath, const std::string& reportPath) {
  std::ifstream in(path, std::ios::binary);
  skipByteOrderMark(in);
  STEPControl_Reader reader;
  if (!in || reader.ReadStream(path.c_str(), in) != IFSelect_RetDone) return kUnreadable;
  if (!putUnits(reader.StepModel(), units)) return kUnitsNotTaken;
  reader.SetSystemLengthUnit(kMetreInMillimetres);
  reader.TransferRoots();
  const Faces faces = facesOf(reader);
  const TopoDS_Shape shape = reader.OneShape();
  if (shape.IsNull() || !hasFace(shape)) {
    if (faces.dropped.empty()) return kNoShape;
    return refuse("the CAD kernel dropped every face of it: " + listed(faces.dropped), reportPath);
  }
  try {
    modelOfShape(shape, what, [&](const TopoDS_Face& face, uint32_t id) {
      const uint64_t* label = faces.translated.Seek(face);
      return label ? "face " + entityName(*label) : "face " + std::to_string(id);
    });
  } catch (const CadFileError& error) {
    return refuse(error.reason(), reportPath);
  } catch (const Standard_Failure&) {
    return refuse("the CAD kernel cannot build a model of it", reportPath);
  }
  std::ofstream report(reportPath, std::ios::binary | std::ios::trunc);
  if (faces.dropped.size() == 1) report << "the CAD kernel dropped face " << listed(faces.dropped);
  if (faces.dropped.size() > 1) report << "the CAD kernel dropped the faces " << listed(faces.dropped);
  if (!faces.dropped.empty()) report << ", which the model lacks";
  if (!report.flush()) return kUnwritable;
  // The host meshes the shape it reads back as it meshes any shape; a mesh read back from the file would not
  // be the same.
  BRepTools::Clean(shape);
  return BRepTools::Write(shape, shapePath.c_str()) ? kTranslated : kUnwritable;
}

}  // namespace

Translation translateStepFile(const std::string& path, const std::string& what, const StepUnits& units,
                              const std::string& shapePath, const std::string& reportPath) {
  try {
    return translate(path, what, units, shapePath, reportPath);
  } catch (const Standard_Failure&) {
    return kUnreadable;
  }
}
