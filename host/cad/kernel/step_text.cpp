#include "host/cad/kernel/step_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "host/cad/brep_model.h"

namespace {

enum class Token {
  end,
  keyword,
  number,
  text,
  enumeration,
  reference,
  binary,
  open,
  close,
  comma,
  semicolon,
  equals,
  dollar,
  star,
  other
};

bool isWordCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '!';
}
bool isDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The tokens of an exchange file's text, one at a time; word is the last token's text (a string's without
// its quotes, an enumeration's without its dots, a reference's without its '#').
class Lexer {
 public:
  Lexer(std::string_view text, size_t at) : text_(text), at_(at) {}

  Token next() {
    skipBlanksAndComments();
    if (at_ >= text_.size()) return Token::end;
    const char c = text_[at_];
    switch (c) {
      case '\'':
        return quoted('\'', Token::text);
      case '"':
        return quoted('"', Token::binary);
      case '#':
        ++at_;
        return take(isDigit, Token::reference, at_);
      case '(':
        return single(Token::open);
      case ')':
        return single(Token::close);
      case ',':
        return single(Token::comma);
      case ';':
        return single(Token::semicolon);
      case '=':
        return single(Token::equals);
      case '$':
        return single(Token::dollar);
      case '*':
        return single(Token::star);
      default:
        break;
    }
    if (c == '.' && at_ + 1 < text_.size() && !isDigit(text_[at_ + 1])) return enumeration();
    if (isDigit(c) || c == '+' || c == '-' || c == '.') return number();
    if (isWordCharacter(c)) return take(isWordCharacter, Token::keyword, at_);
    return single(Token::other);
  }

  std::string_view word() const { return word_; }
  size_t at() const { return at_; }

 private:
  void skipBlanksAndComments() {
    for (;;) {
      while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
      if (text_.compare(at_, 2, "/*") != 0) return;
      const size_t close = text_.find("*/", at_ + 2);
      at_ = close == std::string_view::npos ? text_.size() : close + 2;
    }
  }
  Token single(Token token) {
    word_ = text_.substr(at_++, 1);
    return token;
  }
  template <class Accept>
  Token take(Accept accept, Token token, size_t from) {
    size_t end = from;
    while (end < text_.size() && accept(text_[end])) ++end;
    word_ = text_.substr(from, end - from);
    at_ = end;
    return token;
  }
  // A quote inside a string is written twice.
  Token quoted(char quote, Token token) {
    size_t end = at_ + 1;
    for (;;) {
      end = text_.find(quote, end);
      if (end == std::string_view::npos || end + 1 >= text_.size() || text_[end + 1] != quote) break;
      end += 2;
    }
    if (end == std::string_view::npos) end = text_.size();
    word_ = text_.substr(at_ + 1, end - at_ - 1);
    at_ = std::min(end + 1, text_.size());
    return token;
  }
  Token enumeration() {
    const size_t close = text_.find('.', at_ + 1);
    const size_t end = close == std::string_view::npos ? text_.size() : close;
    word_ = text_.substr(at_ + 1, end - at_ - 1);
    at_ = std::min(end + 1, text_.size());
    return Token::enumeration;
  }
  Token number() {
    size_t end = at_ + 1;
    while (end < text_.size()) {
      const char c = text_[end];
      const bool sign = (c == '+' || c == '-') && (text_[end - 1] == 'E' || text_[end - 1] == 'e');
      if (!isDigit(c) && c != '.' && c != 'E' && c != 'e' && !sign) break;
      ++end;
    }
    word_ = text_.substr(at_, end - at_);
    at_ = end;
    return Token::number;
  }

  std::string_view text_;
  size_t at_;
  std::string_view word_;
};

// A number of the file as the system reads it; none for text that is no number. Overflow gives an infinity
// here, as the kernel's reader gives it.
std::optional<double> numberOf(std::string_view word) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (end != word.data() + word.size()) return std::nullopt;
  if (error == std::errc()) return value;
  if (error != std::errc::result_out_of_range) return std::nullopt;
  // Out of range either way: strtod tells an overflow (an infinity) from an underflow (zero or so).
  const std::string copy(word);
  return std::strtod(copy.c_str(), nullptr);
}

std::optional<uint64_t> labelOf(std::string_view digits) {
  uint64_t label = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), label);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return label;
}

// The entity number a reference's digits give, none for no digits; throws CadFileError for digits beyond any
// number, which would otherwise be told as the entity #0.
std::optional<uint64_t> readLabel(std::string_view digits, const std::string& what) {
  const std::optional<uint64_t> label = labelOf(digits);
  if (!label && !digits.empty())
    throw CadFileError(what, "#" + std::string(digits) + " is too large for an entity number");
  return label;
}

std::string upper(std::string_view word) {
  std::string result(word);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

bool endsWith(std::string_view word, std::string_view end) {
  return word.size() >= end.size() && word.substr(word.size() - end.size()) == end;
}

constexpr std::string_view kShapeRepresentation = "SHAPE_REPRESENTATION";
constexpr std::string_view kDirection = "DIRECTION";
constexpr std::string_view kSolids[] = {"MANIFOLD_SOLID_BREP", "BREP_WITH_VOIDS", "FACETED_BREP"};

// Values nested deeper than this are not read: no unit needs them, and a hostile file could otherwise
// exhaust the stack.
constexpr int kDeepestValue = 64;

// Parses an entity's text, token by token.
class EntityParser {
 public:
  EntityParser(std::string_view text, size_t begin) : lexer_(text, begin) {}

  std::vector<StepRecord> records() {
    std::vector<StepRecord> records;
    Token token = lexer_.next();
    if (token == Token::keyword) {
      records.push_back(record(upper(lexer_.word())));
      return records;
    }
    if (token != Token::open) return records;
    while (lexer_.next() == Token::keyword) records.push_back(record(upper(lexer_.word())));
    return records;
  }

 private:
  StepRecord record(std::string name) {
    StepRecord record{std::move(name), {}};
    if (lexer_.next() == Token::open) record.values = valuesUpToClose(0);
    return record;
  }
  std::vector<StepValue> valuesUpToClose(int depth) {
    std::vector<StepValue> values;
    for (Token token = lexer_.next(); token != Token::close && token != Token::end; token = lexer_.next()) {
      if (token == Token::comma) continue;
      if (token == Token::semicolon) break;
      std::optional<StepValue> item = value(token, depth);
      if (!item) break;
      values.push_back(std::move(*item));
    }
    return values;
  }
  std::optional<StepValue> value(Token token, int depth) {
    StepValue v;
    const std::string_view word = lexer_.word();
    switch (token) {
      case Token::number:
        v.kind = StepValue::Kind::number;
        if (std::optional<double> number = numberOf(word)) v.number = *number;
        return v;
      case Token::text:
        v.kind = StepValue::Kind::text;
        v.word = unquoted(word);
        return v;
      case Token::enumeration:
        v.kind = StepValue::Kind::enumeration;
        v.word = upper(word);
        return v;
      case Token::reference:
        v.kind = StepValue::Kind::reference;
        v.reference = labelOf(word).value_or(0);
        return v;
      case Token::binary:
        v.kind = StepValue::Kind::binary;
        return v;
      case Token::dollar:
        return v;
      case Token::star:
        v.kind = StepValue::Kind::derived;
        return v;
      case Token::open:
      case Token::keyword:
        if (depth >= kDeepestValue) return std::nullopt;
        return nested(token, depth);
      default:
        return std::nullopt;
    }
  }
  std::optional<StepValue> nested(Token token, int depth) {
    StepValue v;
    v.kind = token == Token::open ? StepValue::Kind::list : StepValue::Kind::typed;
    if (token == Token::keyword) {
      v.word = upper(lexer_.word());
      if (lexer_.next() != Token::open) return std::nullopt;
    }
    v.values = valuesUpToClose(depth + 1);
    return v;
  }
  static std::string unquoted(std::string_view word) {
    std::string text;
    for (size_t i = 0; i < word.size(); ++i) {
      text += word[i];
      if (word[i] == '\'' && i + 1 < word.size() && word[i + 1] == '\'') ++i;
    }
    return text;
  }

  Lexer lexer_;
};

}  // namespace

const StepRecord* StepEntity::record(std::string_view name, bool suffix) const {
  for (const StepRecord& r : records) {
    if (suffix ? endsWith(r.name, name) : r.name == name) return &r;
  }
  return nullptr;
}

StepText::StepText(const std::string& path, const std::string& what) {
  std::ifstream in(path, std::ios::binary);
  text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  scan(what);
}

std::optional<StepEntity> StepText::entity(uint64_t label) const {
  const auto found = entities_.find(label);
  if (found == entities_.end()) return std::nullopt;
  const std::string_view text(text_.data(), found->second.end);
  return StepEntity{label, EntityParser(text, found->second.begin).records()};
}

void StepText::scan(const std::string& what) {
  Lexer lexer(text_, 0);
  // Each statement: an entity "#N = ...;", or a section keyword or header entity, passed over to its ';'.
  for (Token token = lexer.next(); token != Token::end; token = lexer.next()) {
    const std::optional<uint64_t> number =
        token == Token::reference ? readLabel(lexer.word(), what) : std::nullopt;
    const bool entity = number && lexer.next() == Token::equals;
    const uint64_t label = entity ? *number : 0;
    const size_t begin = lexer.at();
    int depth = 0;
    bool shape = false, direction = false, solid = false;
    for (token = lexer.next(); token != Token::end && token != Token::semicolon; token = lexer.next()) {
      if (!entity) continue;
      if (token == Token::reference) readLabel(lexer.word(), what);
      if (token == Token::open) ++depth;
      if (token == Token::close) --depth;
      if (token == Token::number) {
        const std::optional<double> number = numberOf(lexer.word());
        if (number && std::isfinite(*number)) continue;
      }
      if (token != Token::number && token != Token::keyword) continue;
      const std::string word(lexer.word());
      if (token == Token::keyword) {
        // A type's name opens its values; a word anywhere else stands where a number would.
        const bool typeName = lexer.next() == Token::open;
        if (typeName) {
          const std::string name = upper(word);
          if (depth <= 1 && endsWith(name, kShapeRepresentation)) shape = true;
          direction = direction || (depth == 0 && name == kDirection);
          solid = solid || (depth <= 1 &&
                            std::find(std::begin(kSolids), std::end(kSolids), name) != std::end(kSolids));
          ++depth;
          continue;
        }
      }
      throw CadFileError(what, entityName(label) + " holds '" + word + "', which is not a finite number");
    }
    if (!entity || token != Token::semicolon) continue;
    // The kernel would take whichever definition it meets last, without a word.
    if (!entities_.emplace(label, Span{begin, lexer.at() - 1}).second)
      throw CadFileError(what, entityName(label) + " is defined twice");
    if (shape) shapeRepresentations_.push_back(label);
    if (direction) directions_.push_back(label);
    if (solid) ++solids_;
  }
}

std::string entityName(uint64_t label) {
  return "#" + std::to_string(label);
}

std::string shortest(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}
