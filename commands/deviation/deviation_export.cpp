#include "commands/deviation/deviation_export.h"

#include <string>
#include <string_view>

#include "framework/files/zel_path.h"
#include "framework/files/zel_unicode_stream.h"
#include "framework/host_glue/unit_service.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/iptr.h"
#include "framework/translation/tr.h"
#include "host_api/file_services.h"
#include "host_api/gui_simple_dialog.h"
#include "host_api/zel_dir_service.h"

namespace {

constexpr const char* kFilter = "Text Documents (*.txt);;Comma Separated Value (*.csv)";
constexpr int32_t kCommaSeparatedType = 2;

// The path of the last export, for the module's life; on the C heap, so that it outlives any pool.
std::u16string& lastExportPath() {
  static std::u16string path;
  return path;
}

ZelString startingPath() {
  if (!lastExportPath().empty()) return ZelString(lastExportPath().c_str());
  SPtr<IZelDirService> directories;
  return directories ? ZelPath::directoryForm(directories->directory("files")) : ZelString();
}

// Whether the user lets an existing file be replaced.
bool mayWrite(IGuiUtil& dialogs, const ZelString& path) {
  if (!dialogs.fileExists(path)) return true;
  SPtr<IGuiSimpleDlg> question;
  return !question || question->show(IGuiSimpleDlg::kQuestionStyle, tr("Overwrite file %1?", path),
                                     ZelString(), false, false, false) != IGuiSimpleDlg::kAnswerNo;
}

// The field as a spreadsheet reads it back as one: between double quotes, each quote doubled, when it holds
// the separator, a quote or a line end; else as it is.
ZelString quotedField(const ZelString& field, char16_t separator) {
  const std::u16string_view text(field.c_str(), static_cast<size_t>(field.length()));
  if (text.find_first_of(std::u16string{separator, u'"', u'\r', u'\n'}) == std::u16string_view::npos)
    return field;
  std::u16string quoted = u"\"";
  for (char16_t c : text) {
    if (c == u'"') quoted += u'"';
    quoted += c;
  }
  quoted += u'"';
  ZelString owned;
  owned.setBuffer(quoted.c_str(), static_cast<int32_t>(quoted.size()));
  return owned;
}

class LineWriter {
 public:
  LineWriter(ZelUnicodeStream& out, const char* separator) : out_(out), separator_(separator) {}

  LineWriter& operator<<(const ZelString& field) {
    separate();
    out_ << quotedField(field, static_cast<char16_t>(separator_[0]));
    return *this;
  }
  LineWriter& operator<<(double number) {
    separate();
    out_ << number;
    return *this;
  }
  void endLine() {
    out_ << "\r\n";
    first_ = true;
  }

 private:
  void separate() {
    if (!first_) out_ << separator_;
    first_ = false;
  }

  ZelUnicodeStream& out_;
  const char* separator_;
  bool first_ = true;
};

void writeLines(ZelUnicodeStream& out, DeviationPoints& points, const DeviationExportOptions& options,
                const char* separator) {
  const double factor = UnitService::unitFactor(UnitService::currentLengthUnit());
  LineWriter line(out, separator);
  // The count is read again for every line, as the points are the command's.
  for (int32_t i = 1; i <= points.count(); ++i) {
    if (options.labels) line << points.label(i);
    const Vector3 p = points.measured(i);
    line << p.x * factor << p.y * factor << p.z * factor;
    if (options.deviations) line << points.deviation(i) * factor;
    if (options.passFail) line << ZelString(points.pass(i) ? "PASS" : "FAIL");
    line.endLine();
  }
}

}  // namespace

void exportDeviationPoints(DeviationPoints& points, const DeviationExportOptions& options) {
  SPtr<IGuiUtil> dialogs;
  if (!dialogs) return;
  ZelString path;
  int32_t type = 0;
  if (!dialogs->saveFileDialog(path, type, startingPath(), ZelString(kFilter))) return;
  if (!mayWrite(*dialogs, path)) return;
  lastExportPath() = path.c_str();
  ZelUnicodeStream out(path);
  if (!out.isOpen()) {
    reportUserError(tr("Unable to open file '%1' for writing.", path));
    return;
  }
  writeLines(out, points, options, type == kCommaSeparatedType ? ", " : " ");
  if (!out.commit())
    reportUserError(tr("Unable to write file '%1' whole: a file there before is left as it was.", path));
}
