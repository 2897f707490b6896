// STEP files in and out, and the box primitive, through the kernel.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

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

// The shape of a STEP file, read in the calling process. Ends as the child would with a reason.
Translation translate(const std::string& path, const std::string& brepPath) {
  try {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) return kUnreadable;
    if (reader.TransferRoots() == 0) return kNoShape;
    return BRepTools::Write(reader.OneShape(), brepPath.c_str()) ? kTranslated : kUnwritable;
  } catch (const Standard_Failure&) {
    return kUnreadable;
  }
}

// The kernel's STEP translator trusts the entities it reads: a file whose references are of the wrong kind
// crashes it. So a child process translates the file into the kernel's own format, which this process then
// reads; a child that fails or dies is a bad file, not a lost session.
TopoDS_Shape translateApart(const std::string& path, const std::string& what) {
  std::string brepPath = (std::filesystem::temp_directory_path() / "palpera-shape-XXXXXX").string();
  const int descriptor = mkstemp(brepPath.data());
  if (descriptor < 0) throw CadFileError(what, "no temporary file to translate it in");
  close(descriptor);
  const pid_t child = fork();
  if (child == 0) {
    // A fault ends the child as the system ends a process, not through handlers inherited from this one.
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(fault, SIG_DFL);
    _exit(translate(path, brepPath));
  }
  int status = 0;
  const bool waited = child > 0 && waitpid(child, &status, 0) == child;
  TopoDS_Shape shape;
  BRep_Builder builder;
  const bool translated = waited && WIFEXITED(status) && WEXITSTATUS(status) == kTranslated &&
                          BRepTools::Read(shape, brepPath.c_str(), builder);
  std::error_code ignored;
  std::filesystem::remove(brepPath, ignored);
  if (translated) return shape;
  if (!waited) throw CadFileError(what, "the CAD kernel could not be started on it");
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNoShape)
    throw CadFileError(what, "holds no solid or face");
  if (WIFEXITED(status) && WEXITSTATUS(status) == kUnreadable)
    throw CadFileError(what, "not a readable STEP file");
  throw CadFileError(what, "not a valid STEP model: the CAD kernel failed on it");
}

}  // namespace

std::shared_ptr<const BrepModel> readStepModel(const std::string& path) {
  silenceKernelMessages();
  const std::string what = "'" + path + "'";
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) throw CadFileError(what, "no such file");
  if (!std::filesystem::is_regular_file(status)) throw CadFileError(what, "not a regular file");
  if (std::filesystem::file_size(path, error) == 0) throw CadFileError(what, "the file is empty");
  if (!framedAsStep(path)) throw CadFileError(what, "not a STEP file, or cut short");
  const TopoDS_Shape shape = translateApart(path, what);
  // The translation takes any number, NAN too; the kernel throws only as the model is built from the shape.
  try {
    return modelOfShape(shape, what);
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
    // Corners far beyond any part overflow the kernel's own arithmetic.
    throw std::invalid_argument("the CAD kernel cannot model a box between these corners");
  }
}

void writeStepFile(const TopoDS_Shape& shape, const std::string& path, const std::string& name) {
  silenceKernelMessages();
  const std::string what = "'" + path + "'";
  Interface_Static::SetCVal("write.step.product.name", name.c_str());
  STEPControl_Writer writer;
  if (writer.Transfer(shape, STEPControl_AsIs) != IFSelect_RetDone)
    throw CadFileError(what, "cannot translate the shape");
  APIHeaderSection_MakeHeader header(writer.Model());
  header.SetName(new TCollection_HAsciiString(name.c_str()));
  header.SetTimeStamp(new TCollection_HAsciiString("2026-01-01T00:00:00"));
  if (writer.Write(path.c_str()) != IFSelect_RetDone) throw CadFileError(what, "cannot write the file");
}
