// STEP files in and out, and the box primitive, through the kernel.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <STEPControl_Reader.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <StepData_StepModel.hxx>
#include <TColStd_SequenceOfAsciiString.hxx>
#include <TCollection_HAsciiString.hxx>

#include "host/cad/kernel/brep_kernel.h"

void silenceKernelMessages() {
  static std::once_flag once;
  std::call_once(once, [] {
    const Handle(Message_Messenger)& messenger = Message::DefaultMessenger();
    messenger->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
  });
}

namespace {

// The kernel counts lengths in millimetres unless told otherwise; its reader and writer take the unit the
// shapes are in as this many millimetres, so that files in any unit come in, and go out, in metres.
constexpr double kMetreInMillimetres = 1000.0;
constexpr char kStepUnitMetre[] = "M";

constexpr char kStepStart[] = "ISO-10303-21;";
constexpr char kStepEnd[] = "END-ISO-10303-21;";

// A STEP exchange file opens and closes with its keywords; a file cut short lacks the closing one, and the
// reader would otherwise take whatever entities came before the cut as the whole model.
bool framedAsStep(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(sizeof kStepStart - 1, '\0');
  if (!in.read(head.data(), static_cast<std::streamsize>(head.size())) || head != kStepStart) return false;
  constexpr std::streamoff kTail = 256;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(std::max<std::streamoff>(0, size - kTail));
  std::string tail(std::istreambuf_iterator<char>(in), {});
  while (!tail.empty() && std::isspace(static_cast<unsigned char>(tail.back()))) tail.pop_back();
  return tail.size() >= sizeof kStepEnd - 1 &&
         tail.compare(tail.size() - (sizeof kStepEnd - 1), std::string::npos, kStepEnd) == 0;
}

// How the translating child process ends, by the reason it gives.
enum Translation : int { kTranslated = 0, kUnreadable = 10, kNoShape = 11, kUnwritable = 12 };

// The length units the file declares for its shapes, each once, in the order found ("millimetre", "inch").
std::string declaredLengthUnits(STEPControl_Reader& reader) {
  TColStd_SequenceOfAsciiString lengths, angles, solidAngles;
  reader.FileUnits(lengths, angles, solidAngles);
  std::vector<std::string> names;
  for (const TCollection_AsciiString& unit : lengths) {
    const std::string name = unit.ToCString();
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  std::string units;
  for (const std::string& name : names) units += (units.empty() ? "" : ", ") + name;
  return units;
}

// The shape of a STEP file, read in the calling process, in metres, and the units the file declares. Ends as
// the child would with a reason.
Translation translate(const std::string& path, const std::string& brepPath, std::string& units) {
  try {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) return kUnreadable;
    units = declaredLengthUnits(reader);
    reader.SetSystemLengthUnit(kMetreInMillimetres);
    if (reader.TransferRoots() == 0) return kNoShape;
    return BRepTools::Write(reader.OneShape(), brepPath.c_str()) ? kTranslated : kUnwritable;
  } catch (const Standard_Failure&) {
    return kUnreadable;
  }
}

// A pipe's two ends, closed when it goes.
struct Pipe {
  int ends[2] = {-1, -1};
  Pipe() {
    if (pipe(ends) != 0) ends[0] = ends[1] = -1;
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  ~Pipe() {
    closeEnd(0);
    closeEnd(1);
  }
  void closeEnd(int end) {
    if (ends[end] >= 0) close(ends[end]);
    ends[end] = -1;
  }
  // What the other end wrote, up to its close.
  std::string readAll() {
    std::string text;
    char buffer[256];
    for (;;) {
      const ssize_t got = read(ends[0], buffer, sizeof buffer);
      if (got > 0)
        text.append(buffer, static_cast<size_t>(got));
      else if (got == 0 || errno != EINTR)
        return text;
    }
  }
};

// The kernel's STEP translator trusts the entities it reads: a file whose references are of the wrong kind
// crashes it. So a child process translates the file into the kernel's own format, which this process then
// reads; a child that fails or dies is a bad file, not a lost session.
std::pair<TopoDS_Shape, std::string> translateApart(const std::string& path, const std::string& what) {
  std::string brepPath = (std::filesystem::temp_directory_path() / "palpera-shape-XXXXXX").string();
  const int descriptor = mkstemp(brepPath.data());
  if (descriptor < 0) throw CadFileError(what, "no temporary file to translate it in");
  close(descriptor);
  // The child tells the units it found through the pipe, which this process reads to its end before it
  // waits, so that no text of the file's, however long, can keep the child waiting.
  Pipe units;
  // The child inherits this process's unwritten output; anything in the kernel that flushes it there would
  // print it a second time.
  std::cout.flush();
  std::fflush(nullptr);
  const pid_t child = units.ends[0] >= 0 ? fork() : -1;
  if (child == 0) {
    // A fault ends the child as the system ends a process, not through handlers inherited from this one.
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(fault, SIG_DFL);
    std::string found;
    const Translation reason = translate(path, brepPath, found);
    const bool told = write(units.ends[1], found.data(), found.size()) == static_cast<ssize_t>(found.size());
    _exit(told ? reason : kUnreadable);
  }
  units.closeEnd(1);
  const std::string declared = child > 0 ? units.readAll() : std::string();
  int status = 0;
  const bool waited = child > 0 && waitpid(child, &status, 0) == child;
  TopoDS_Shape shape;
  BRep_Builder builder;
  const bool translated = waited && WIFEXITED(status) && WEXITSTATUS(status) == kTranslated &&
                          BRepTools::Read(shape, brepPath.c_str(), builder);
  std::error_code ignored;
  std::filesystem::remove(brepPath, ignored);
  if (translated) return {shape, declared};
  if (!waited) throw CadFileError(what, "the CAD kernel could not be started on it");
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNoShape)
    throw CadFileError(what, "holds no solid or face");
  if (WIFEXITED(status) && WEXITSTATUS(status) == kUnreadable)
    throw CadFileError(what, "not a readable STEP file");
  throw CadFileError(what, "not a valid STEP model: the CAD kernel failed on it");
}

}  // namespace

StepModel readStepModel(const std::string& path) {
  silenceKernelMessages();
  const std::string what = "'" + path + "'";
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) throw CadFileError(what, "no such file");
  if (!std::filesystem::is_regular_file(status)) throw CadFileError(what, "not a regular file");
  if (std::filesystem::file_size(path, error) == 0) throw CadFileError(what, "the file is empty");
  if (!framedAsStep(path)) throw CadFileError(what, "not a STEP file, or cut short");
  auto [shape, units] = translateApart(path, what);
  return {modelOfShape(shape, what), units.empty() ? std::string("none") : units};
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
    // Corners far beyond any part overflow the kernel's own arithmetic.
    throw std::invalid_argument("the CAD kernel cannot model a box between these corners");
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
