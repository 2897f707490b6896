#include "commands/transform/xal_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "framework/files/zel_fstream.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "platform/file.h"

namespace {

const ClassRegistration<XALReader> registration(registeredClass("XALReader"));

// The longest scale text taken, its terminator included; a longer one is malformed.
constexpr size_t kScaleBufferSize = 512;
// The file's translation is in millimetres.
constexpr double kMetresPerMillimetre = 0.001;

constexpr std::string_view kScaleToken = "\"scale\"";
constexpr std::string_view kRowTokens[] = {"\"I\"", "\"J\"", "\"K\""};
constexpr std::string_view kOriginTokens[] = {"\"X\"", "\"Y\"", "\"Z\""};

bool isBlank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// A number as C's "%f" takes it in the C locale (white space skipped, an optional sign, rounded to single
// precision), and where its text ends. Nothing for text that starts with no number, or one that is not
// finite or beyond the single-precision range.
struct LeadingFloat {
  float value;
  size_t end;
};

std::optional<LeadingFloat> leadingFloat(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  if (start < text.size() && text[start] == '+') {
    ++start;
    if (start < text.size() && (text[start] == '-' || text[start] == '+')) return std::nullopt;
  }
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  float value = 0;
  std::from_chars_result result = std::from_chars(first, last, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small for a normal float reads as zero or a subnormal, as C does; too large is no number.
    double wide = 0;
    result = std::from_chars(first, last, wide);
    if (result.ec != std::errc() || std::fabs(wide) >= 1) return std::nullopt;
    value = static_cast<float>(wide);
  } else if (result.ec != std::errc()) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return LeadingFloat{value, static_cast<size_t>(result.ptr - text.data())};
}

// Whether only blanks follow the number: "250,5" written with a decimal comma, or "1.5 mm", would
// otherwise read as its leading part and put every later point off.
bool endsAfterNumber(std::string_view text, const LeadingFloat& number) {
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(number.end), text.end(), isBlank);
}

// The value of text when it is one number between blanks; nothing otherwise.
std::optional<float> wholeFloat(std::string_view text) {
  std::optional<LeadingFloat> number = leadingFloat(text);
  if (!number || !endsAfterNumber(text, *number)) return std::nullopt;
  return number->value;
}

// One value of the file: the text between the ">" that follows a token and the next "<".
struct Value {
  std::string_view text;
  size_t close;  // where the "<" is; the end of the file's text when there is none
};

// The value of the first token at or after from; nothing when the token or its ">" is missing.
std::optional<Value> valueAfter(std::string_view text, std::string_view token, size_t from) {
  size_t at = text.find(token, from);
  if (at == std::string_view::npos) return std::nullopt;
  size_t open = text.find('>', at + token.size());
  if (open == std::string_view::npos) return std::nullopt;
  size_t close = text.find('<', open + 1);
  if (close == std::string_view::npos) close = text.size();
  return Value{text.substr(open + 1, close - open - 1), close};
}

// The scale anywhere in the text; 1 when it is missing, unclosed, too long or starts with no number. Nothing
// when a number is followed by more than blanks: that scale was meant, and would be read wrong.
std::optional<float> scaleOf(std::string_view text) {
  std::optional<Value> value = valueAfter(text, kScaleToken, 0);
  if (!value || value->close == text.size() || value->text.size() >= kScaleBufferSize) return 1.0f;
  std::optional<LeadingFloat> number = leadingFloat(value->text);
  if (!number) return 1.0f;
  if (!endsAfterNumber(value->text, *number)) return std::nullopt;
  return number->value;
}

// Reads the three values of a group from position on, moving position past the "<" of each value and the
// character after it, never past the end. False when a value is missing or no number.
bool readGroup(std::string_view text, const std::string_view (&tokens)[3], size_t& position,
               float (&out)[3]) {
  for (int i = 0; i < 3; ++i) {
    std::optional<Value> value = valueAfter(text, tokens[i], position);
    if (!value) return false;
    position = std::min(value->close + 2, text.size());
    std::optional<float> number = wholeFloat(value->text);
    if (!number) return false;
    out[i] = *number;
  }
  return true;
}

// Markup that holds no data of the document. The scan for values looks at raw text, where an old row kept in
// a comment, a processing instruction or a declaration of the document type would read as a row of the
// transform. A CDATA section is data: its text stays.
struct Markup {
  std::string_view start;
  std::string_view end;
  bool keepsText;
  bool hasSubset;  // a declaration whose end is the first ">" outside its internal subset
};
constexpr Markup kComment{"<!--", "-->", false, false};
constexpr Markup kCData{"<![CDATA[", "]]>", true, false};
constexpr Markup kInstruction{"<?", "?>", false, false};
constexpr Markup kDocumentType{"<!DOCTYPE", ">", false, true};
constexpr Markup kMarkups[] = {kComment, kCData, kInstruction, kDocumentType};

// Where the declaration of the document type that starts at inside ends: at the first ">" outside its quoted
// literals, its internal subset in brackets, and the comments in that subset, any of which may hold a ">".
size_t documentTypeEnd(std::string_view text, size_t inside) {
  int depth = 0;  // brackets of the internal subset
  for (size_t at = inside; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"' || c == '\'') {
      at = text.find(c, at + 1);
      if (at == std::string_view::npos) break;
    } else if (text.compare(at, kComment.start.size(), kComment.start) == 0) {
      at = text.find(kComment.end, at + kComment.start.size());
      if (at == std::string_view::npos) break;
      at += kComment.end.size() - 1;
    } else if (c == '[') {
      ++depth;
    } else if (c == ']') {
      depth = std::max(depth - 1, 0);
    } else if (c == '>' && depth == 0) {
      return at;
    }
  }
  return std::string_view::npos;
}

// Where the markup's end starts; npos when it has none.
size_t markupEnd(std::string_view text, const Markup& markup, size_t inside) {
  if (markup.hasSubset) return documentTypeEnd(text, inside);
  return text.find(markup.end, inside);
}

// The text as the document's data: markup without data left out and each CDATA section replaced by its text.
// Markup without its end runs to the end of the text.
std::string dataText(std::string_view text) {
  std::string data;
  data.reserve(text.size());
  size_t position = 0;
  while (position < text.size()) {
    const Markup* first = nullptr;
    size_t markupStart = std::string_view::npos;
    for (const Markup& markup : kMarkups) {
      const size_t at = text.find(markup.start, position);
      if (at < markupStart) markupStart = at, first = &markup;
    }
    data.append(text.substr(position, markupStart - position));
    if (!first) break;
    const size_t inside = markupStart + first->start.size();
    const size_t end = markupEnd(text, *first, inside);
    if (first->keepsText) data.append(text.substr(inside, end - inside));
    if (end == std::string_view::npos) break;
    position = end + first->end.size();
  }
  return data;
}

}  // namespace

bool readXalText(const char* bytes, size_t size, double* matrix) {
  std::string_view raw(bytes, size);
  const std::string data = dataText(raw.substr(0, raw.find('\0')));
  const std::string_view text = data;
  if (text.empty()) return false;
  float rows[3][3];
  float origin[3];
  size_t position = 0;
  for (float(&row)[3] : rows) {
    if (!readGroup(text, kRowTokens, position, row)) return false;
  }
  if (!readGroup(text, kOriginTokens, position, origin)) return false;
  const std::optional<float> scale = scaleOf(text);
  if (!scale) return false;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) matrix[4 * r + c] = rows[r][c];
    matrix[4 * r + 3] = origin[r] * kMetresPerMillimetre * *scale;
  }
  matrix[12] = matrix[13] = matrix[14] = 0;
  matrix[15] = 1;
  return true;
}

const ZelString& XALReader::description() {
  static const ZelString text = tr("XAL Transform File");
  return text;
}

const ZelString& XALReader::extensions() {
  static const ZelString list = [] {
    ZelString counted;
    counted.appendCounted(ZelString(u"xal"));
    return counted;
  }();
  return list;
}

bool XALReader::read(const ZelString& path, double* matrix) {
  // A directory or a device opens too, but holds no file to read.
  if (platform::fileKind(path.c_str()) != platform::FileKind::kRegular) return false;
  ZelIfstream file(path, std::ios_base::in | std::ios_base::binary);
  if (!file) return false;
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return false;
  return readXalText(bytes.data(), bytes.size(), matrix);
}

void XALReader::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelTransformationFileReader>(this).end();
}
