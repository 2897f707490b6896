// The alignment record's text comes from a host log on disk: any text must either be refused with a reason,
// leaving the matrix untouched, or give a usable transform that writes back to a text reading the same.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "basic_types/transform_checks.h"
#include "devices/host_log/log_record_texts.h"
#include "platform/utf8.h"

namespace {

bool sameElements(const Matrix4x4& a, const Matrix4x4& b) {
  return std::memcmp(a.m, b.m, sizeof a.m) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The host hands the record's text over up to its first NUL.
  std::string text(reinterpret_cast<const char*>(data), size);
  Matrix4x4 read = Matrix4x4::scaling(2, 3, 4);
  const Matrix4x4 before = read;
  std::optional<std::string> refusal = parseAlignmentText(text.c_str(), read);
  if (refusal) {
    if (refusal->empty() || !sameElements(read, before)) __builtin_trap();
    return 0;
  }
  if (!isUsableTransform(read)) __builtin_trap();
  Matrix4x4 again;
  std::string written = platform::toUtf8(alignmentText(read).c_str());
  if (parseAlignmentText(written.c_str(), again) || !sameElements(read, again)) __builtin_trap();
  return 0;
}
