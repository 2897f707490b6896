#include "host/core/host_str_support.h"

#include <cstdlib>
#include <string>

#include "framework/object/query_chain.h"
#include "platform/utf8.h"

namespace {
constexpr char16_t kNoBreakSpace = 0x00A0;
}

ZelCString HostStrSupport::toNarrow(const char16_t* text) {
  std::string utf8 = platform::toUtf8(text ? text : u"");
  return ZelCString(utf8.c_str(), static_cast<int32_t>(utf8.size()));
}

int32_t HostStrSupport::compare(const char16_t* a, const char16_t* b) {
  int result = std::u16string_view(a ? a : u"").compare(b ? b : u"");
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

void HostStrSupport::removeWhitespace(char16_t* text) {
  if (!text) return;
  char16_t* out = text;
  for (const char16_t* in = text; *in; ++in) {
    bool space = (*in >= 0x09 && *in <= 0x0D) || *in == 0x20 || *in == kNoBreakSpace;
    if (!space) *out++ = *in;
  }
  *out = 0;
}

double HostStrSupport::parse(const char16_t* text, bool* ok) {
  std::string utf8 = platform::toUtf8(text ? text : u"");
  char* end = nullptr;
  double value = std::strtod(utf8.c_str(), &end);
  bool read = end != utf8.c_str();
  if (ok) *ok = read;
  return read ? value : 0.0;
}

void HostStrSupport::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelStrSupport>(this).end();
}
