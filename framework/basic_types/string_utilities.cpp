#include "basic_types/string_utilities.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

bool isDigit(char16_t unit) {
  return unit >= u'0' && unit <= u'9';
}

int32_t digitRun(const char16_t* text, int32_t from) {
  int32_t end = from;
  while (isDigit(text[end])) ++end;
  return end - from;
}

// Compares the digit runs at i and j and moves both past them. 0 when the runs are equal in value.
int compareDigitRuns(const char16_t* a, int32_t& i, const char16_t* b, int32_t& j, int& tie) {
  while (a[i] == u'0') ++i;
  while (b[j] == u'0') ++j;
  if (tie == 0 && i != j) tie = i > j ? -1 : 1;
  int32_t runA = digitRun(a, i);
  int32_t runB = digitRun(b, j);
  if (runA != runB) return runA < runB ? -1 : 1;
  for (int32_t k = 0; k < runA; ++k, ++i, ++j) {
    if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
  }
  return 0;
}

struct BracketDepths {
  int32_t depth[4] = {};

  // c is never the terminator, which strchr would find in every set.
  void track(char c) {
    static constexpr char kOpening[] = "([{<";
    static constexpr char kClosing[] = ")]}>";
    if (const char* open = std::strchr(kOpening, c); open) ++depth[open - kOpening];
    if (const char* close = std::strchr(kClosing, c); close) --depth[close - kClosing];
  }
  bool outside() const { return !depth[0] && !depth[1] && !depth[2] && !depth[3]; }
};

void flushToken(ZelCString& token, std::vector<ZelCString>& tokens) {
  if (!token.isEmpty()) tokens.push_back(token);
  token = ZelCString();
}

}  // namespace

int naturalCompare(const char16_t* a, const char16_t* b) {
  if (!a || !b) return a ? 1 : b ? -1 : 0;
  int tie = 0;
  int32_t i = 0;
  int32_t j = 0;
  for (;;) {
    if (!a[i] || !b[j]) return !a[i] && !b[j] ? tie : !a[i] ? -1 : 1;
    if (isDigit(a[i]) && isDigit(b[j])) {
      if (int order = compareDigitRuns(a, i, b, j, tie)) return order;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
    ++i;
    ++j;
  }
}

std::vector<ZelCString> splitOutsideBrackets(const ZelCString& text, const ZelCString& separators) {
  std::vector<ZelCString> tokens;
  ZelCString token;
  BracketDepths brackets;
  bool escaped = false;
  for (const char* c = text.c_str(); *c; ++c) {
    if (escaped) {
      token.append(*c);
      escaped = false;
    } else if (*c == '\\') {
      token.append(*c);
      escaped = true;
    } else if (std::strchr(separators.c_str(), *c) && brackets.outside()) {
      flushToken(token, tokens);
    } else {
      token.append(*c);
      brackets.track(*c);
    }
  }
  flushToken(token, tokens);
  return tokens;
}

ZelCString toLowerCopy(const ZelCString& s) {
  if (!s.data()) return ZelCString();
  std::string lowered(s.data());
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ZelCString(lowered.c_str(), static_cast<int32_t>(lowered.size()));
}
