// STEP files in and out, and the box primitive, through the kernel.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <StepData_StepModel.hxx>
#include <TCollection_HAsciiString.hxx>

#include "host/cad/kernel/anonymous_file.h"
#include "host/cad/kernel/bounded_child.h"
#include "host/cad/kernel/brep_kernel.h"
#include "host/cad/kernel/byte_order_mark.h"
#include "host/cad/kernel/step_text.h"
#include "host/cad/kernel/step_translation.h"
#include "host/cad/kernel/step_units.h"
#include "platform/text_encoding.h"

void silenceKernelMessages() {
  static std::once_flag once;
  std::call_once(once, [] {
    const Handle(Message_Messenger)& messenger = Message::DefaultMessenger();
    messenger->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
  });
}

namespace {

constexpr char kStepUnitMetre[] = "M";

constexpr std::string_view kStepStart = "ISO-10303-21;";
constexpr std::string_view kStepEnd = "END-ISO-10303-21;";

bool opensAsStep(std::istream& in) {
  skipByteOrderMark(in);
  std::string head(kStepStart.size(), '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  return in && head == kStepStart;
}

// Whether the last word before the blanks at the file's end is the closing keyword, however many blanks
// follow it: the text is read backwards, piece by piece, until it holds more than blanks.
bool closesAsStep(std::istream& in) {
  constexpr std::streamoff kPiece = 4096;
  in.clear();
  in.seekg(0, std::ios::end);
  std::streamoff end = in.tellg();
  std::string tail;
  while (end > 0 && tail.size() < kStepEnd.size()) {
    const std::streamoff from = std::max<std::streamoff>(0, end - kPiece);
    std::string piece(static_cast<size_t>(end - from), '\0');
    in.seekg(from);
    if (!in.read(piece.data(), static_cast<std::streamsize>(piece.size()))) return false;
    tail.insert(0, piece);
    while (!tail.empty() && std::isspace(static_cast<unsigned char>(tail.back()))) tail.pop_back();
    end = from;
  }
  return tail.ends_with(kStepEnd);
}

// An editor may save a STEP file as UTF-16 or UTF-32, which the kernel cannot read; said as such, the user
// knows the fix. Null for any other head.
const char* encodingRefusal(std::istream& in) {
  std::string head(4, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  in.clear();
  in.seekg(0);
  return platform::encodingRefusal(head);
}

// A STEP exchange file opens and closes with its keywords; a file cut short lacks the closing one, and the
// reader would otherwise take whatever entities came before the cut as the whole model.
bool framedAsStep(std::istream& in) {
  return opensAsStep(in) && closesAsStep(in);
}

// Throws CadFileError naming why, unless path is a readable regular file framed as a STEP file.
void refuseUnlessStepFile(const std::string& path, const std::string& what) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) throw CadFileError(what, "no such file");
  if (error) throw CadFileError(what, "cannot be read: " + error.message());
  if (!std::filesystem::is_regular_file(status)) throw CadFileError(what, "not a regular file");
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CadFileError(what, std::string("cannot be read: ") + std::strerror(errno ? errno : EIO));
  if (std::filesystem::file_size(path, error) == 0) throw CadFileError(what, "the file is empty");
  if (const char* refusal = encodingRefusal(in)) throw CadFileError(what, refusal);
  if (!framedAsStep(in)) throw CadFileError(what, "not a STEP file, or cut short");
}

// Why a translation that ended gave no shape.
std::string failure(const ChildEnd& end) {
  if (end.kind == ChildEnd::Kind::notStarted) return "the CAD kernel could not be started on it";
  if (end.kind == ChildEnd::Kind::exited && end.code == kNoShape) return "holds no solid or face";
  if (end.kind == ChildEnd::Kind::exited && end.code == kUnreadable) return "not a readable STEP file";
  if (end.kind == ChildEnd::Kind::exited && end.code == kUnwritable)
    return "the CAD kernel could not write the translated shape into the temporary folder (is the disk "
           "full?)";
  if (end.kind == ChildEnd::Kind::exited && end.code == kUnitsNotTaken)
    return "the CAD kernel does not take the units the file declares";
  return "not a valid STEP model: the CAD kernel failed on it";
}

// What a file in the temporary folder holds; empty when it cannot be read.
std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The translated shape and the warning of its translation (empty without one).
struct Translated {
  TopoDS_Shape shape;
  std::string warning;
};

// The kernel's STEP translator trusts the entities it reads: a file whose references are of the wrong kind
// crashes it, and some numbers set it, or its mesher, spinning for good. So a child process translates the
// file and builds its model once, and writes the shape into the kernel's own format, which this process
// then reads; a child that fails, dies or overruns its time is a bad file, not a lost session.
Translated translateApart(const std::string& path, const std::string& what, const StepUnits& units,
                          std::chrono::milliseconds timeLimit) {
  std::optional<AnonymousFile> shapeFile, reportFile;
  try {
    shapeFile.emplace();
    reportFile.emplace();
  } catch (const std::runtime_error&) {
    throw CadFileError(what, "no temporary file to translate it in");
  }
  const std::string shapePath = shapeFile->path(), reportPath = reportFile->path();
  const ChildEnd end =
      runInChild([&] { return translateStepFile(path, what, units, shapePath, reportPath); }, timeLimit);
  if (end.kind == ChildEnd::Kind::timedOut)
    throw CadFileError(what, "the CAD kernel did not finish reading " + what + " in " +
                                 shortest(std::chrono::duration<double>(timeLimit).count()) + " s");
  if (end.kind == ChildEnd::Kind::exited && end.code == kRefused) {
    const std::string reason = contentOf(reportPath);
    throw CadFileError(what, reason.empty() ? failure(end) : reason);
  }
  Translated translated;
  BRep_Builder builder;
  if (end.kind == ChildEnd::Kind::exited && end.code == kTranslated &&
      BRepTools::Read(translated.shape, shapePath.c_str(), builder)) {
    translated.warning = contentOf(reportPath);
    return translated;
  }
  throw CadFileError(what, failure(end));
}

// Thinner than any part, thicker than the kernel's widening of a box around a face (a tenth of a micrometre).
constexpr double kFlatExtent = 1e-6;

std::string counted(size_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

bool pointsNowhere(const StepText& text, uint64_t label) {
  const std::optional<StepEntity> entity = text.entity(label);
  const StepRecord* record = entity ? entity->record("DIRECTION") : nullptr;
  if (!record || record->values.size() != 2 || record->values[1].kind != StepValue::Kind::list) return false;
  const std::vector<StepValue>& ratios = record->values[1].values;
  return !ratios.empty() && std::all_of(ratios.begin(), ratios.end(), [](const StepValue& v) {
    return v.kind == StepValue::Kind::number && v.number == 0.0;
  });
}

// What a model read without a fault may still hold that the user must hear of, since it measures as no part
// does: solids of the file the kernel made loose faces (no inside, no side to compensate a probe to), a
// model flat along an axis, and a direction of no length, on which the kernel builds what it guesses.
std::vector<std::string> shapeWarnings(const StepText& text, const BrepModel& model) {
  std::vector<std::string> warnings;
  for (uint64_t label : text.directions()) {
    if (pointsNowhere(text, label))
      warnings.push_back(entityName(label) +
                         " is a direction of no length, (0, 0, 0): what is built on it is "
                         "the CAD kernel's guess");
  }
  if (model.solidCount() < text.solids())
    warnings.push_back("the CAD kernel kept " + std::to_string(model.solidCount()) + " of the file's " +
                       counted(text.solids(), "solid") +
                       ": the rest are loose faces, which enclose no inside");
  const auto [low, high] = model.bounds();
  constexpr const char* kAxes[] = {"x", "y", "z"};
  for (size_t axis = 0; axis < 3; ++axis) {
    if (model.faceCount() > 0 && high[axis] - low[axis] < kFlatExtent)
      warnings.push_back(std::string("the model is flat: it has no thickness along ") + kAxes[axis]);
  }
  return warnings;
}

}  // namespace

StepModel readStepModel(const std::string& path, std::chrono::milliseconds timeLimit) {
  silenceKernelMessages();
  const std::string what = "'" + path + "'";
  refuseUnlessStepFile(path, what);
  const StepText text(path, what);
  const StepUnits units = readLengthUnits(text, what);
  const Translated translated = translateApart(path, what, units, timeLimit);
  // The child built this model, mesh and boxes once within the time limit; built again here from the shape
  // it wrote, it takes no longer.
  try {
    std::vector<std::string> warnings;
    if (!translated.warning.empty()) warnings.push_back(translated.warning);
    std::shared_ptr<const BrepModel> model = modelOfShape(translated.shape, what);
    for (std::string& warning : shapeWarnings(text, *model)) warnings.push_back(std::move(warning));
    return {std::move(model), units.solidUnits, units.metresAssumed, std::move(warnings)};
  } catch (const Standard_Failure&) {
    throw CadFileError(what, "the CAD kernel cannot build a model of it");
  }
}

std::shared_ptr<const BrepModel> boxModel(const BrepModel::Point& minimum, const BrepModel::Point& maximum) {
  for (size_t axis = 0; axis < 3; ++axis) {
    if (!(minimum[axis] < maximum[axis]))
      throw std::invalid_argument("the first corner must lie below the second");
  }
  silenceKernelMessages();
  try {
    const TopoDS_Shape box = BRepPrimAPI_MakeBox(gp_Pnt(minimum[0], minimum[1], minimum[2]),
                                                 gp_Pnt(maximum[0], maximum[1], maximum[2]))
                                 .Shape();
    return modelOfShape(box, "box");
  } catch (const Standard_Failure&) {
    // Corners far beyond any part overflow the kernel's own arithmetic,
    throw std::invalid_argument("the CAD kernel cannot model a box between these corners");
  } catch (const CadFileError& error) {
    // or the box reaches beyond where a measured part lies, which is the reason to give.
    throw std::invalid_argument("the box's " + error.reason());
  }
}

void writeStepFile(const TopoDS_Shape& shape, const std::string& path, const std::string& name) {
  silenceKernelMessages();
  const std::string what = "'" + path + "'";
  // The first writer of a process sets the translator's static settings to their defaults, so they are set
  // after it is made. The declared unit is the static setting; the model's two units keep the values as
  // they are.
  STEPControl_Writer writer;
  Interface_Static::SetCVal("write.step.product.name", name.c_str());
  Interface_Static::SetCVal("write.step.unit", kStepUnitMetre);
  writer.Model()->SetLocalLengthUnit(kMetreInMillimetres);
  writer.Model()->SetWriteLengthUnit(kMetreInMillimetres);
  if (writer.Transfer(shape, STEPControl_AsIs) != IFSelect_RetDone)
    throw CadFileError(what, "cannot translate the shape");
  APIHeaderSection_MakeHeader header(writer.Model());
  header.SetName(new TCollection_HAsciiString(name.c_str()));
  header.SetTimeStamp(new TCollection_HAsciiString("2026-01-01T00:00:00"));
  if (writer.Write(path.c_str()) != IFSelect_RetDone) throw CadFileError(what, "cannot write the file");
}
