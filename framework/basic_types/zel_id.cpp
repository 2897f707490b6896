#include "basic_types/zel_id.h"

#include <cctype>
#include <string>

#include "basic_types/zel_cstring.h"

const ZelID nullZelID{};

namespace {

// Texts longer than this are read as their first this-many characters.
constexpr size_t kMaximumIdText = 150;
constexpr int kFieldCount = 11;

int hexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one token the way scanf's "%x" does: white space, an optional sign, an optional 0x, then hex digits
// up to the first other character. Answers false when the token holds no number. Wider values wrap, as the
// field cut does.
bool readHex(const std::string& token, uint32_t& value) {
  size_t i = 0;
  while (i < token.size() && std::isspace(static_cast<unsigned char>(token[i]))) ++i;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  // "0x" counts as a prefix only when a digit follows; otherwise the 0 is the number.
  if (i + 2 < token.size() && token[i] == '0' && (token[i + 1] == 'x' || token[i + 1] == 'X') &&
      hexDigit(static_cast<unsigned char>(token[i + 2])) >= 0) {
    i += 2;
  }
  if (i >= token.size() || hexDigit(static_cast<unsigned char>(token[i])) < 0) return false;
  value = 0;
  for (; i < token.size(); ++i) {
    int digit = hexDigit(static_cast<unsigned char>(token[i]));
    if (digit < 0) break;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  if (negative) value = 0u - value;
  return true;
}

void setField(ZelID& id, int field, uint32_t value) {
  if (field == 0)
    id.data1 = value;
  else if (field == 1)
    id.data2 = static_cast<uint16_t>(value);
  else if (field == 2)
    id.data3 = static_cast<uint16_t>(value);
  else
    id.data4[field - 3] = static_cast<uint8_t>(value);
}

}  // namespace

ZelID ZelID::fromString(const char* text) {
  ZelID id;
  if (!text) return id;
  std::string limited(text, std::char_traits<char>::length(text) < kMaximumIdText
                                ? std::char_traits<char>::length(text)
                                : kMaximumIdText);
  size_t pos = 0;
  for (int field = 0; field < kFieldCount; ++field) {
    // Runs of commas separate like one, as strtok does.
    pos = limited.find_first_not_of(',', pos);
    if (pos == std::string::npos) break;
    size_t end = limited.find(',', pos);
    std::string token = limited.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    uint32_t value = 0;
    if (!readHex(token, value)) break;
    setField(id, field, value);
    if (end == std::string::npos) break;
    pos = end;
  }
  return id;
}

ZelID ZelID::fromString(const ZelCString& text) {
  return fromString(text.data());
}

namespace GUIDUtils {
bool isValid(const ZelID& id) {
  return !(id == nullZelID);
}
}  // namespace GUIDUtils
