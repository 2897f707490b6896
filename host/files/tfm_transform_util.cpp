#include "host/files/tfm_transform_util.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "framework/files/zel_fstream.h"
#include "framework/object/query_chain.h"
#include "platform/file.h"
#include "platform/file_replacement.h"

namespace {

constexpr int kElements = 16;

bool isBlank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

bool parseTfmText(std::string_view text, double* matrix) {
  double values[kElements];
  int count = 0;
  size_t at = 0;
  while (true) {
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at == text.size()) break;
    if (count == kElements) return false;
    double value = 0;
    std::from_chars_result result = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return false;
    at = static_cast<size_t>(result.ptr - text.data());
    if (at < text.size() && !isBlank(text[at])) return false;
    values[count++] = value;
  }
  if (count != kElements) return false;
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
  if (platform::fileKind(path.c_str()) != platform::FileKind::kRegular) return false;
  ZelIfstream file(path, std::ios_base::in | std::ios_base::binary);
  if (!file) return false;
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return !file.bad() && parseTfmText(text, matrix);
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
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ITransformUtil>(this).end();
}
