#include "basic_types/zel_string.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "basic_types/no_destructor.h"
#include "basic_types/zel_array.h"
#include "framework/memory/bucket_memory_pool.h"
#include "framework/object/host_detach.h"
#include "framework/object/iptr.h"
#include "host_api/zel_str_support.h"
#include "platform/ascii_text.h"
#include "platform/utf8.h"

namespace {

// In 64 bits: sizes are computed from lengths without wrapping, and a text too long for the pool's sizes is
// refused by poolAllocateText.
int64_t lengthOf(const char16_t* text) {
  return text ? static_cast<int64_t>(std::char_traits<char16_t>::length(text)) : 0;
}

// The units before the terminator, or n when none lies among the first n.
int64_t lengthWithin(const char16_t* text, int32_t n) {
  const char16_t* end = std::char_traits<char16_t>::find(text, static_cast<size_t>(n), u'\0');
  return end ? end - text : n;
}

bool isWhitespaceUnit(char16_t unit) {
  return (unit >= 0x09 && unit <= 0x0D) || unit == 0x20;
}

// Numbers above this magnitude are written in exponent form.
constexpr double kExponentThreshold = 1e10;
// The first size tried for a formatted number; doubled until the text fits.
constexpr size_t kFormatStart = 40;

// Widths and precisions beyond these only pad or print the noise of the binary expansion: a double has at
// most 309 integer digits and 17 significant ones. Larger ones are cut to them, so a format cannot ask for
// gigabytes.
constexpr long kMaxFormatWidth = 400;
constexpr long kMaxFormatPrecision = 400;

// Reads the digits at text (at most a few more than the cap, so nothing overflows) and appends their value,
// capped, to out; answers the position after them.
const char* appendCappedNumber(const char* text, long cap, std::string& out) {
  long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) value = std::min(value * 10 + (*text - '0'), cap);
  out += std::to_string(value);
  return text;
}

// The part of a C format between "%" and the conversion letter, rebuilt from a precision text of flags, an
// optional width and an optional "." with a precision, each number capped. Anything else (a second ".", a
// letter, another "%") makes the text unusable: it is ignored and the default format applies.
std::string cappedPrecision(const char* precision) {
  if (!precision) return {};
  size_t flags = std::strspn(precision, "-+ #0");
  std::string rebuilt(precision, flags);
  const char* rest = precision + flags;
  if (*rest >= '1' && *rest <= '9') rest = appendCappedNumber(rest, kMaxFormatWidth, rebuilt);
  if (*rest == '.') {
    rebuilt += '.';
    rest = appendCappedNumber(rest + 1, kMaxFormatPrecision, rebuilt);
  }
  return *rest == '\0' ? rebuilt : std::string();
}

// Eight code units, compared and searched for a terminator at once. A comparison of two blocks marks each
// unit where it holds with kBitsPerMark bits of its own, lowest unit first.
using UnitBlock = uint16_t __attribute__((vector_size(16)));
using UnitMarks = int16_t __attribute__((vector_size(16)));
using Marks = uint64_t;
constexpr int64_t kUnitsPerBlock = sizeof(UnitBlock) / sizeof(char16_t);
constexpr UnitBlock kNoUnits = {};

UnitBlock blockAt(const char16_t* units) {
  UnitBlock block;
  std::memcpy(&block, units, sizeof block);
  return block;
}

#if defined(__SSE2__)
// The top bit of each byte: two per unit, in one instruction.
constexpr int kBitsPerMark = 2;
Marks marksOf(UnitMarks compared) {
  return static_cast<Marks>(_mm_movemask_epi8(reinterpret_cast<__m128i>(compared)));
}
#else
// A bit per unit, gathered from a byte per unit.
constexpr int kBitsPerMark = 1;
Marks marksOf(UnitMarks compared) {
  using ByteMarks = int8_t __attribute__((vector_size(8)));
  const ByteMarks bytes = __builtin_convertvector(compared, ByteMarks);
  Marks marks;
  std::memcpy(&marks, &bytes, sizeof marks);
  return ((marks & 0x0101010101010101) * 0x8040201008040201) >> 56;
}
#endif

Marks zeroUnits(UnitBlock block) {
  return marksOf(block == kNoUnits);
}

// The place in the block of the first unit that non-zero marks mark.
int64_t firstMarked(Marks marks) {
  return std::countr_zero(marks) / kBitsPerMark;
}

// The marks of the units past the place in the block.
Marks unitsAbove(int64_t place) {
  return ~Marks{0} << (kBitsPerMark * (place + 1));
}

// The places of blocks over readable units: 0, 8, 16 ..., the last one ending where the readable units end
// (it overlaps the one before, whose units are known by then). Taken only where a terminator lies within
// them.
class BlockWalk {
 public:
  explicit BlockWalk(int64_t readable) : last_(readable - kUnitsPerBlock) {}
  bool fits() const { return last_ >= 0; }
  int64_t place() const { return place_; }
  // False at the last block: a text without a terminator in its readable units breaks the string's promise,
  // and the caller reads it unit by unit rather than past them.
  bool advance() {
    if (place_ == last_) return false;
    place_ = std::min(place_ + kUnitsPerBlock, last_);
    return true;
  }

 private:
  int64_t last_;
  int64_t place_ = 0;
};

// The units before the terminator. readable units from the start may be read (terminator and what lies past
// it included): those are taken a block at a time; a text without them, unit by unit.
int64_t unitsBeforeEnd(const char16_t* text, int64_t readable) {
  BlockWalk walk(readable);
  if (walk.fits()) {
    do {
      if (Marks zeros = zeroUnits(blockAt(text + walk.place()))) return walk.place() + firstMarked(zeros);
    } while (walk.advance());
  }
  return static_cast<int64_t>(std::char_traits<char16_t>::length(text));
}

// Shorter first, then by the first differing unit: negative, 0 or positive. Unit by unit, for texts whose
// buffers may end at their terminators.
int orderUnitByUnit(const char16_t* a, const char16_t* b) {
  int64_t i = 0;
  for (; a[i] == b[i]; ++i) {
    if (a[i] == 0) return 0;
  }
  if (a[i] == 0 || b[i] == 0) return a[i] == 0 ? -1 : 1;
  const int difference = a[i] < b[i] ? -1 : 1;
  for (++i; a[i] && b[i]; ++i) {
  }
  if (a[i] || b[i]) return a[i] ? 1 : -1;
  return difference;
}

// The order of texts whose first ends lie within readable units, between one block and two: both blocks of
// each read at once, the second where the readable units end (overlapping the first), and the order found
// from their marks without a loop.
[[gnu::always_inline]] inline int orderWithinTwoBlocks(const char16_t* a, const char16_t* b,
                                                       int64_t readable) {
  const int64_t second = readable - kUnitsPerBlock;
  const UnitBlock firstA = blockAt(a), firstB = blockAt(b);
  const UnitBlock secondA = blockAt(a + second), secondB = blockAt(b + second);
  // The marks of units 0 to readable - 1: where the blocks overlap, both mark the same units alike.
  auto joined = [second](Marks first, Marks last) { return first | last << (kBitsPerMark * second); };
  const Marks zerosA = joined(zeroUnits(firstA), zeroUnits(secondA));
  const Marks zerosB = joined(zeroUnits(firstB), zeroUnits(secondB));
  // The first terminator of each, as the lowest mark (none: later).
  const Marks endA = zerosA & -zerosA, endB = zerosB & -zerosB;
  if (endA != endB) return endA - 1 < endB - 1 ? -1 : 1;
  if (!endA) return orderUnitByUnit(a, b);  // no terminator where the buffers promise one
  const Marks before = joined(marksOf(firstA != firstB), marksOf(secondA != secondB)) & (endA - 1);
  if (!before) return 0;
  const int64_t at = firstMarked(before);
  return a[at] < b[at] ? -1 : 1;
}

// The same a block at a time over readable units, which both buffers hold from the start: the texts are
// compared up to their first difference or end, and past a difference only their ends are looked for.
int orderBlockByBlock(const char16_t* a, const char16_t* b, int64_t readable) {
  BlockWalk walk(readable);
  if (!walk.fits()) return orderUnitByUnit(a, b);
  Marks stop = 0, zerosA = 0, zerosB = 0;
  do {
    const UnitBlock blockA = blockAt(a + walk.place()), blockB = blockAt(b + walk.place());
    zerosA = zeroUnits(blockA);
    zerosB = zeroUnits(blockB);
    stop = marksOf(blockA != blockB) | zerosA | zerosB;
  } while (!stop && walk.advance());
  if (!stop) return orderUnitByUnit(a, b);
  const int64_t place = firstMarked(stop), at = walk.place() + place;
  if (a[at] == b[at]) return 0;  // both end there
  if (a[at] == 0 || b[at] == 0) return a[at] == 0 ? -1 : 1;
  zerosA &= unitsAbove(place);
  zerosB &= unitsAbove(place);
  while (!(zerosA | zerosB)) {
    if (!walk.advance()) return orderUnitByUnit(a, b);
    zerosA = zeroUnits(blockAt(a + walk.place()));
    zerosB = zeroUnits(blockAt(b + walk.place()));
  }
  // The first terminator of each, as the lowest mark (none: later).
  const Marks endA = zerosA & -zerosA, endB = zerosB & -zerosB;
  if (endA != endB) return endA - 1 < endB - 1 ? -1 : 1;
  return a[at] < b[at] ? -1 : 1;
}

// The order of texts of which aReadable and bReadable units may be read from the start (terminator and what
// lies past it included). The first end of either lies within the fewer readable units, so blocks over those
// suffice; short texts, the most common, take no loop and no call.
[[gnu::always_inline]] inline int orderWithoutHost(const char16_t* a, int64_t aReadable, const char16_t* b,
                                                   int64_t bReadable) {
  const int64_t readable = std::min(aReadable, bReadable);
  if (readable >= kUnitsPerBlock && readable <= 2 * kUnitsPerBlock)
    return orderWithinTwoBlocks(a, b, readable);
  return orderBlockByBlock(a, b, readable);
}

// Whether the texts are equal, a block at a time where both buffers hold the blocks (as orderWithoutHost): up
// to their first difference, or to the end of a, which ends b too when nothing differs there.
bool equalTexts(const char16_t* a, int64_t aReadable, const char16_t* b, int64_t bReadable) {
  BlockWalk walk(std::min(aReadable, bReadable));
  if (walk.fits()) {
    do {
      const UnitBlock blockA = blockAt(a + walk.place());
      if (Marks stop = marksOf(blockA != blockAt(b + walk.place())) | zeroUnits(blockA)) {
        const int64_t at = walk.place() + firstMarked(stop);
        return a[at] == b[at];
      }
    } while (walk.advance());
  }
  return orderUnitByUnit(a, b) == 0;
}

// Whether the host offers an ordering, as first found after the module was attached: asked once, not per
// comparison, and forgotten when the module detaches.
enum class HostOrdering { kUnknown, kNone, kOffered };
std::atomic<HostOrdering> hostOrdering{HostOrdering::kUnknown};

const bool forgetsHostOrdering = (addDetachStep([] { hostOrdering.store(HostOrdering::kUnknown); }), true);

// Whether a is less than b in the host's ordering, when the host offers one; else in the ordering without it.
// Out of line, so that the path without a host stays short.
[[gnu::noinline]] bool lessInHost(const char16_t* a, int64_t aReadable, const char16_t* b,
                                  int64_t bReadable) {
  SPtr<IZelStrSupport> support;
  hostOrdering.store(support ? HostOrdering::kOffered : HostOrdering::kNone, std::memory_order_relaxed);
  if (support) return support->compare(a, b) < 0;
  return orderWithoutHost(a, aReadable, b, bReadable) < 0;
}

}  // namespace

ZelString::ZelString(const char* narrow) {
  if (narrow) widen(narrow, static_cast<int64_t>(std::strlen(narrow)));
}

ZelString::ZelString(char c) {
  char text[2] = {c, '\0'};
  *this = ZelString(text);
}

ZelString::ZelString(const ZelString& other) {
  setBuffer(other.text_, other.capacity_ > 0 ? -1 : 0);
}

ZelString::ZelString(ZelString&& other) noexcept
    : text_(other.text_),
      capacity_(other.capacity_),
      narrow_(std::move(other.narrow_)),
      utf8_(std::move(other.utf8_)) {
  other.text_ = nullptr;
  other.capacity_ = 0;
}

ZelString::~ZelString() {
  releaseBuffer();
}

ZelString& ZelString::operator=(const ZelString& other) {
  if (this != &other) setBuffer(other.text_, other.capacity_ > 0 ? -1 : 0);
  return *this;
}

ZelString& ZelString::operator=(ZelString&& other) noexcept {
  if (this == &other) return *this;
  releaseBuffer();
  std::swap(text_, other.text_);
  std::swap(capacity_, other.capacity_);
  return *this;
}

void ZelString::setBuffer(const char16_t* text, int32_t n) {
  if (!text) {
    releaseBuffer();
    return;
  }
  if (n == 0) {
    releaseBuffer();
    text_ = const_cast<char16_t*>(text);
    return;
  }
  int64_t units = n < 0 ? lengthOf(text) : lengthWithin(text, n);
  if (holdsInPlace(units)) {
    std::memmove(text_, text, units * sizeof(char16_t));  // text may lie in our buffer
    text_[units] = 0;
    return;
  }
  uint32_t capacity = 0;
  char16_t* buffer = allocBuffer(units, capacity);
  std::memcpy(buffer, text, units * sizeof(char16_t));  // before releasing: text may lie in our buffer
  buffer[units] = 0;
  adopt(buffer, capacity);
}

bool ZelString::holdsInPlace(int64_t units) const {
  const int64_t needed = (units + 1) * static_cast<int64_t>(sizeof(char16_t));
  return capacity_ > 0 && needed <= capacity_ &&
         (capacity_ <= kSmallBuffer || 2 * needed >= static_cast<int64_t>(capacity_));
}

void ZelString::setNarrow(const char* narrow, int32_t n) {
  widen(narrow, std::max(n, 0));
}

void ZelString::widen(const char* narrow, int64_t n) {
  const bool inPlace = holdsInPlace(n);
  uint32_t capacity = 0;
  char16_t* buffer = inPlace ? text_ : allocBuffer(n, capacity);
  platform::widenBytes(narrow, static_cast<size_t>(n), buffer);
  buffer[n] = 0;
  if (!inPlace) adopt(buffer, capacity);
}

char16_t* ZelString::allocBuffer(int64_t units, uint32_t& capacity) const {
  return static_cast<char16_t*>(poolAllocateText(units, sizeof(char16_t), &capacity));
}

void ZelString::adopt(char16_t* buffer, uint32_t capacity) {
  releaseBuffer();
  text_ = buffer;
  capacity_ = capacity;
}

void ZelString::releaseBuffer() {
  if (text_ && capacity_ > 0) poolFree(capacity_, text_);
  text_ = nullptr;
  capacity_ = 0;
}

int32_t ZelString::length() const {
  return text_ ? static_cast<int32_t>(unitsBeforeEnd(text_, readableUnits())) : 0;
}

bool operator==(const ZelString& a, const ZelString& b) {
  return equalTexts(a.c_str(), a.readableUnits(), b.c_str(), b.readableUnits());
}

bool operator<(const ZelString& a, const ZelString& b) {
  // Nothing to look up in a host known to offer no ordering, nor without a host.
  if (hostOrdering.load(std::memory_order_relaxed) != HostOrdering::kNone && hostRoot())
    return lessInHost(a.c_str(), a.readableUnits(), b.c_str(), b.readableUnits());
  return orderWithoutHost(a.c_str(), a.readableUnits(), b.c_str(), b.readableUnits()) < 0;
}

bool ZelString::equalsPrefix(const ZelString& other, int32_t n) const {
  if (n <= 0) return true;
  if (length() < n || other.length() < n) return false;
  return std::memcmp(text_, other.text_, n * sizeof(char16_t)) == 0;
}

int32_t ZelString::find(const ZelString& needle, int32_t start) const {
  int32_t needleLength = needle.length();
  if (needleLength == 0) return 0;
  int32_t current = length();
  if (start < 0 || needleLength > current || start >= current || start > current - needleLength) return -1;
  std::u16string_view haystack(text_, current);
  size_t at = haystack.find(std::u16string_view(needle.text_, needleLength), start);
  return at == std::u16string_view::npos ? -1 : static_cast<int32_t>(at);
}

ZelString& ZelString::operator+=(const ZelString& other) {
  int64_t added = other.length();
  if (added == 0) return *this;
  int64_t current = length();
  int64_t needed = (current + added + 1) * static_cast<int64_t>(sizeof(char16_t));
  if (capacity_ > 0 && needed <= capacity_) {
    std::memmove(text_ + current, other.text_, added * sizeof(char16_t));
    text_[current + added] = 0;
    return *this;
  }
  uint32_t capacity = 0;
  char16_t* buffer = allocBuffer(current + added, capacity);
  if (current > 0) std::memcpy(buffer, text_, current * sizeof(char16_t));
  std::memcpy(buffer + current, other.text_, added * sizeof(char16_t));
  buffer[current + added] = 0;
  adopt(buffer, capacity);
  return *this;
}

ZelString ZelString::left(int32_t n) const {
  ZelString result;
  if (n > 0 && !isEmpty()) result.setBuffer(text_, std::min(n, length()));
  return result;
}

void ZelString::truncate(int32_t n) {
  *this = left(n);
}

ZelString ZelString::mid(int32_t pos, int32_t count) const {
  int32_t current = length();
  pos = std::clamp(pos, 0, current);
  int32_t available = current - pos;
  int32_t n = std::min(count, available);
  ZelString result;
  if (n >= 1) result.setBuffer(text_ + pos, n);
  return result;
}

void ZelString::remove(int32_t pos, int32_t count) {
  int32_t current = length();
  if (count <= 0 || pos < 0 || pos + count > current) return;
  if (capacity_ == 0) setBuffer(text_, -1);
  std::memmove(text_ + pos, text_ + pos + count, (current - pos - count + 1) * sizeof(char16_t));
}

ZelString ZelString::replace(int32_t from, int32_t to, const ZelString& text) const {
  int32_t current = length();
  from = std::clamp(from, 0, current);
  to = std::clamp(to, from, current);
  int32_t inserted = text.length();
  int64_t total = int64_t{from} + inserted + (current - to);
  ZelString result;
  uint32_t capacity = 0;
  char16_t* buffer = allocBuffer(total, capacity);
  if (from > 0) std::memcpy(buffer, text_, from * sizeof(char16_t));
  if (inserted > 0) std::memcpy(buffer + from, text.text_, inserted * sizeof(char16_t));
  if (current - to > 0) std::memcpy(buffer + from + inserted, text_ + to, (current - to) * sizeof(char16_t));
  buffer[total] = 0;
  result.adopt(buffer, capacity);
  return result;
}

ZelString ZelString::removeWhitespace() const {
  ZelString result;
  if (isEmpty()) return result;
  result.setBuffer(text_, -1);
  SPtr<IZelStrSupport> support;
  if (support) {
    support->removeWhitespace(result.text_);
    return result;
  }
  char16_t* out = result.text_;
  for (const char16_t* in = result.text_; *in; ++in) {
    if (!isWhitespaceUnit(*in)) *out++ = *in;
  }
  *out = 0;
  return result;
}

ZelString ZelString::substituteArgs(const ZelString* const* args, int32_t count) const {
  // "%1" to "%9", and "%:" for the tenth. Each argument's length is found once: a text may name an argument
  // thousands of times, and a ZelString finds its length by scanning.
  constexpr int32_t kMostArguments = 10;
  std::array<int32_t, kMostArguments> lengths{};
  for (int32_t k = 0; k < std::min(count, kMostArguments); ++k) lengths[k] = args[k] ? args[k]->length() : 0;
  auto argumentIndex = [&](char16_t follower) -> int32_t {
    int32_t number = follower == u':' ? 10 : follower - u'0';
    return number <= count && args[number - 1] ? number - 1 : -1;
  };
  auto isPlaceholder = [](char16_t follower) {
    return (follower >= u'1' && follower <= u'9') || follower == u':';
  };

  int32_t current = length();
  int64_t total = 0;
  bool any = false;
  // First pass: the exact size. A "%" consumes the character after it; a "%" at the very end is plain text.
  for (int32_t i = 0; i < current; ++i) {
    if (text_[i] == u'%' && i + 1 < current) {
      if (isPlaceholder(text_[i + 1])) {
        any = true;
        int32_t k = argumentIndex(text_[i + 1]);
        total += k >= 0 ? lengths[k] : 0;
      } else {
        total += 2;
      }
      ++i;
      continue;
    }
    ++total;
  }
  if (!any) return *this;

  ZelString result;
  uint32_t capacity = 0;
  char16_t* out = allocBuffer(total, capacity);
  result.adopt(out, capacity);
  for (int32_t i = 0; i < current; ++i) {
    if (text_[i] == u'%' && i + 1 < current) {
      char16_t follower = text_[++i];
      if (!isPlaceholder(follower)) {
        *out++ = u'%';
        *out++ = follower;
      } else if (int32_t k = argumentIndex(follower); k >= 0) {
        std::memcpy(out, args[k]->c_str(), lengths[k] * sizeof(char16_t));
        out += lengths[k];
      }
      continue;
    }
    *out++ = text_[i];
  }
  *out = 0;
  return result;
}

ZelString ZelString::number(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return ZelString(text);
}

ZelString ZelString::number(double value) {
  // The text of "%f" or "%e" in the C locale, without printf's multi-precision arithmetic.
  char text[400];
  const std::chars_format form =
      std::fabs(value) > kExponentThreshold ? std::chars_format::scientific : std::chars_format::fixed;
  *std::to_chars(text, text + sizeof text - 1, value, form, 6).ptr = '\0';
  return ZelString(text);
}

ZelString ZelString::formatDouble(double value, const DoubleFormat& format) {
  std::string pattern = "%" + cappedPrecision(format.precision);
  pattern += !format.scientific ? 'f' : format.exponent ? 'e' : 'g';
  std::string text(kFormatStart, '\0');
  for (;;) {
    int written = std::snprintf(text.data(), text.size(), pattern.c_str(), value);
    if (written < 0) return ZelString();  // nothing the C library could format
    if (static_cast<size_t>(written) < text.size()) {
      text.resize(written);
      break;
    }
    text.resize(text.size() * 2);
  }
  return ZelString(text.c_str());
}

double ZelString::toDouble(bool* ok) const {
  SPtr<IZelStrSupport> support;
  if (support) return support->parse(c_str(), ok);
  if (ok) *ok = false;
  if (isEmpty()) return 0.0;
  double value = 0.0;
  bool read = std::sscanf(toNarrow(), "%lf", &value) == 1;
  if (ok) *ok = read;
  return read ? value : 0.0;
}

const char* ZelString::toNarrow() const {
  SPtr<IZelStrSupport> support;
  if (support) {
    narrow_ = support->toNarrow(c_str());
    narrow_.makeOwned();
    return narrow_.c_str();
  }
  std::string ascii;
  for (const char16_t* p = c_str(); *p; ++p) {
    if (*p < 0x80) ascii += static_cast<char>(*p);
  }
  narrow_ = ascii.c_str();
  return narrow_.c_str();
}

const char* ZelString::toUtf8() const {
  utf8_ = platform::toUtf8(std::u16string_view(c_str(), length())).c_str();
  return utf8_.c_str();
}

void ZelString::appendCounted(const ZelString& item) {
  *this += number(item.length());
  *this += ZelString(u" ");
  *this += item;
}

void ZelString::splitCounted(ZelCountedArray<ZelString>& out) const {
  const ZelString blank(u" ");
  int32_t length = this->length();
  for (int32_t position = 0; position < length;) {
    int32_t at = find(blank, position);
    if (at < 0) return;
    double announced = mid(position, at - position).toDouble(nullptr);
    if (!std::isfinite(announced) || announced < 1.0) {
      out.append(*this);
      return;
    }
    int32_t available = length - (at + 1);
    int32_t n = announced >= available ? available : static_cast<int32_t>(announced);
    out.append(mid(at + 1, n));
    position = at + 1 + n;
  }
}

const ZelString& emptyZelString() {
  static NoDestructor<ZelString> empty;
  return *empty;
}
