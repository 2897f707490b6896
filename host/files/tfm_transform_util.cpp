#include "host/files/tfm_transform_util.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "framework/files/zel_fstream.h"
#include "framework/object/query_chain.h"
#include "platform/file.h"
#include "platform/file_replacement.h"
#include "platform/text_encoding.h"

namespace {

constexpr int kElements = 16;

bool isBlank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Where the index-th number of the file stands, as the user reads the file: four numbers to a row.
std::string placeOf(int index) {
  return "row " + std::to_string(index / 4 + 1) + ", number " + std::to_string(index % 4 + 1);
}

// Whether a number too far out of a double's range for from_chars is one too near 0, rather than too large.
bool underflows(std::string_view number) {
  const std::string copy(number);
  return std::abs(std::strtod(copy.c_str(), nullptr)) < 1.0;
}

}  // namespace

bool parseTfmText(std::string_view text, double* matrix, std::string* why) {
  std::string ignored;
  std::string& failure = why ? *why : ignored;
  if (const char* refusal = platform::encodingRefusal(text)) {
    failure = refusal;
    return false;
  }
  text = platform::withoutByteOrderMark(text);
  double values[kElements];
  int count = 0;
  size_t at = 0;
  while (true) {
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at == text.size()) break;
    if (count == kElements) {
      failure = "it holds more than 16 numbers";
      return false;
    }
    // C notation: a sign may lead, which from_chars takes only as a minus.
    const size_t start = at + (text[at] == '+' && at + 1 < text.size() && text[at + 1] != '-' ? 1 : 0);
    double value = 0;
    std::from_chars_result result = std::from_chars(text.data() + start, text.data() + text.size(), value);
    const size_t end = static_cast<size_t>(result.ptr - text.data());
    const bool beyondRange = result.ec == std::errc::result_out_of_range;
    if ((result.ec != std::errc() && !beyondRange) || (end < text.size() && !isBlank(text[end]))) {
      failure = placeOf(count) + " is not a number";
      return false;
    }
    if (beyondRange || !std::isfinite(value)) {
      failure = placeOf(count) + (underflows(text.substr(start, end - start))
                                      ? " is too near 0 for a double (it underflows)"
                                      : " is not a finite number");
      return false;
    }
    at = end;
    values[count++] = value;
  }
  if (count != kElements) {
    const std::string row = "row " + std::to_string(count / 4 + 1);
    failure = count == 0 ? "it is empty" : count % 4 == 0 ? row + " is missing" : row + " is cut short";
    return false;
  }
  std::copy(std::begin(values), std::end(values), matrix);
  return true;
}

std::string tfmText(const double* matrix) {
  std::string text;
  char number[32];
  for (int i = 0; i < kElements; ++i) {
    std::snprintf(number, sizeof number, "%.17g", matrix[i]);
    text += number;
    text += i % 4 == 3 ? '\n' : ' ';
  }
  return text;
}

void TfmTransformUtil::prepareLoad(int32_t mode) {
  lastPrepareMode_ = mode;
  ++prepareCalls_;
}

bool TfmTransformUtil::load(const ZelString& path, double* matrix) {
  ZelString ignored;
  return readMatrix(path, matrix, ignored);
}

void TfmTransformUtil::explainLoad(const ZelString& path, ZelString& why) {
  double ignored[kElements];
  readMatrix(path, ignored, why);
}

bool TfmTransformUtil::readMatrix(const ZelString& path, double* matrix, ZelString& why) {
  why = ZelString();
  switch (platform::fileKind(path.c_str())) {
    case platform::FileKind::kMissing:
      return false;
    case platform::FileKind::kOther:
      why = ZelString(u"it is not a file");
      return false;
    case platform::FileKind::kRegular:
      break;
  }
  const ZelString unreadable(u"it cannot be read");
  ZelIfstream file(path, std::ios_base::in | std::ios_base::binary);
  if (!file) {
    why = unreadable;
    return false;
  }
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) {
    why = unreadable;
    return false;
  }
  std::string failure;
  if (parseTfmText(text, matrix, &failure)) return true;
  why = ZelString(failure.c_str());
  return false;
}

bool TfmTransformUtil::save(const ZelString& path, const double* matrix) {
  for (int i = 0; i < kElements; ++i) {
    if (!std::isfinite(matrix[i])) return false;
  }
  // A full disk must not cost the user the transform the file held before.
  FileReplacement file(platform::systemPath(path.c_str()));
  if (!file.stream()) return false;
  const std::string text = tfmText(matrix);
  std::fwrite(text.data(), 1, text.size(), file.stream());
  return file.commit();
}

void TfmTransformUtil::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<ITransformUtil>(this)
      .offer<ITransformLoadReason>(this)
      .end();
}
