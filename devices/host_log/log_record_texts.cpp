#include "devices/host_log/log_record_texts.h"

#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>
#include <string>

#include "basic_types/string_utilities.h"
#include "basic_types/transform_checks.h"
#include "framework/files/zel_path.h"

namespace {
// Enough significant digits for every double to read back as itself.
constexpr int kRoundTripDigits = 17;

// A recorded device transform is object x hardware x scale: a rotation and a shift times the uniform
// temperature scale, the cube root of the 3 x 3 part's determinant's size. A mirror keeps its sign.
double uniformScaleOf(const Matrix4x4& m) {
  return std::cbrt(std::abs(m.determinant3()));
}

Matrix4x4 scaled(const Matrix4x4& m, double scale) {
  Matrix4x4 result = m;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) result.m[4 * row + column] *= scale;
  }
  return result;
}
}  // namespace

ZelString eventFileName(const ZelString& logFile, const ZelCString& category, int32_t number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(number));
  std::string suffix = std::string("-") + toLowerCopy(category).c_str() + "-" + digits;
  ZelString path = logFile;
  ZelPath::normalize(path);
  ZelPath::addSuffix(path, ZelString(suffix.c_str()));
  ZelPath::setExtension(path, ZelString(u"xml"));
  return path;
}

ZelString alignmentText(const Matrix4x4& transform) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(kRoundTripDigits);
  for (double element : transform.m) out << element << ' ';
  return ZelString(out.str().c_str());
}

std::optional<std::string> parseAlignmentText(const char* text, Matrix4x4& transform) {
  std::istringstream in(text ? text : "");
  in.imbue(std::locale::classic());
  Matrix4x4 read;
  bool numbers = true;
  for (double& element : read.m) numbers = numbers && in >> element && std::isfinite(element);
  if (!numbers || !(in >> std::ws).eof()) {
    return "The host log's device alignment was refused: it must be exactly 16 finite numbers.";
  }
  if (std::optional<std::string> why = whyNoUsableTransform(read)) {
    return "The host log's device alignment was refused: " + *why + ".";
  }
  // A usable transform has a 3 x 3 part that is not singular, so a scale that divides out.
  const double scale = uniformScaleOf(read);
  const Matrix4x4 unscaled = scaled(read, 1.0 / scale);
  // The rule of a matrix a file holds: a rotation written to six decimals reads as the rotation it stands
  // for.
  if (std::optional<std::string> why = whyNoWrittenRigid(unscaled)) {
    return "The host log's device alignment was refused: beside a uniform scale, " + *why + ".";
  }
  transform = isProperRigid(unscaled) ? read : scaled(nearestRigid(unscaled), scale);
  return std::nullopt;
}
