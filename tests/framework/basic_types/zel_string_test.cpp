#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "basic_types/string_utilities.h"
#include "basic_types/zel_array.h"
#include "basic_types/zel_cstring.h"
#include "basic_types/zel_cstring_tokenizer.h"
#include "basic_types/zel_id.h"
#include "basic_types/zel_string.h"
#include "host/core/zel_id_text.h"
#include "platform/utf8.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

using StringsWithoutHost = NoHostTest;

TEST_F(StringsWithoutHost, LiteralsAreBorrowedUntilChangedAndNeverWrittenTo) {
  static const char16_t kWide[] = u"Pt";
  ZelString wide(kWide);
  ZelString copy(wide);
  EXPECT_EQ(copy.data(), kWide) << "a copy of a borrowed text borrows again";
  copy += ZelString(u"12");
  EXPECT_EQ(text(copy), u"Pt12");
  EXPECT_FALSE(copy.isBorrowed());
  static const char kNarrow[] = "Plugin";
  ZelCString narrow(kNarrow);
  EXPECT_EQ(ZelCString(narrow).data(), kNarrow);
  EXPECT_EQ(narrow.capacity(), 0u) << "borrowed: nothing allocated";
  narrow += "Data";
  EXPECT_STREQ(narrow.c_str(), "PluginData");
  EXPECT_STREQ(kNarrow, "Plugin");
  EXPECT_EQ(std::u16string(kWide), u"Pt");
}

TEST_F(StringsWithoutHost, NumbersAreFixedUpTo1e10AndFormatsTakeOnlyFlagsAndDigits) {
  struct Case {
    ZelString formatted;
    std::u16string expected;
  };
  for (const Case& c :
       {Case{ZelString::number(-7), u"-7"}, Case{ZelString::number(1e10), u"10000000000.000000"},
        Case{ZelString::number(-2e10), u"-2.000000e+10"}, Case{ZelString::number(0.003), u"0.003000"},
        Case{ZelString::formatDouble(3.14159, {false, false, ".2"}), u"3.14"},
        Case{ZelString::formatDouble(31415.9, {true, true, ".3"}), u"3.142e+04"},
        Case{ZelString::formatDouble(0.5, {true, false, ""}), u"0.5"},
        Case{ZelString::formatDouble(2.5, {false, false, "s%n"}), u"2.500000"},
        Case{ZelString::formatDouble(2.5, {false, false, "1.2.3"}), u"2.500000"},
        Case{ZelString::formatDouble(-2.5, {false, false, "+08.2"}), u"-0002.50"}})
    EXPECT_EQ(text(c.formatted), c.expected);
  EXPECT_EQ(text(ZelString::formatDouble(1e300, {false, false, ".1"})).size(), 303u) << "grows past 40 bytes";
  for (const char* precision : {"99999999999", "2147483647.1", ".99999999999", "-4000000000.4000000000"}) {
    SCOPED_TRACE(precision);
    std::u16string formatted = text(ZelString::formatDouble(1.5, {false, false, precision}));
    EXPECT_LE(formatted.size(), 1000u) << "huge widths and precisions are capped";
    EXPECT_NE(formatted.find(u"1.5"), std::u16string::npos);
  }
}

// Logs and reports store numbers as the C library's "%f" (or "%e" above 1e10) printed them; the text must
// stay byte for byte what it was, rounding, signs and non-finite values included.
TEST_F(StringsWithoutHost, NumbersAreTheTextOfTheCFormatForEveryKindOfValue) {
  auto printed = [](double value) {
    char expected[400];
    std::snprintf(expected, sizeof expected, std::fabs(value) > 1e10 ? "%e" : "%f", value);
    return std::string(expected);
  };
  std::vector<double> values = {0.0,
                                -0.0,
                                0.1234567,
                                0.0000005,
                                -0.0000005,
                                0.0000015,
                                2.5e-7,
                                999999.9999995,
                                1e10,
                                std::nextafter(1e10, 2e10),
                                -2e10,
                                1e300,
                                -1.7976931348623157e308,
                                4.9e-324,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(),
                                -std::numeric_limits<double>::quiet_NaN()};
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> exponent(-12.0, 14.0), sign(-1.0, 1.0);
  for (int i = 0; i < 2000; ++i) values.push_back(sign(rng) * std::pow(10.0, exponent(rng)));
  for (double value : values) {
    SCOPED_TRACE(printed(value));
    EXPECT_EQ(ZelString::number(value).toUtf8(), printed(value));
  }
}

TEST_F(StringsWithoutHost, OrderingIsLengthFirstThenByFirstDifferingUnit) {
  EXPECT_TRUE(ZelString(u"z") < ZelString(u"aa"));
  EXPECT_FALSE(ZelString(u"aa") < ZelString(u"z"));
  EXPECT_TRUE(ZelString(u"ab") < ZelString(u"ac"));
  EXPECT_FALSE(ZelString(u"ac") < ZelString(u"ab"));
  EXPECT_FALSE(ZelString() < ZelString(u""));
  EXPECT_TRUE(ZelString(u"") == ZelString());
}

// The text as a borrowed literal, as an owned copy, and in an owned buffer that holds other units past its
// terminator, as a text shortened in place does.
std::vector<ZelString> eachKindOf(const std::u16string& text) {
  const std::u16string rest = u"\xFFFFqrstuvw";
  std::vector<ZelString> kinds(3);
  kinds[0].setBuffer(text.c_str(), 0);
  kinds[1].setBuffer(text.c_str(), -1);
  kinds[2].setBuffer((text + rest).c_str(), -1);
  kinds[2].remove(static_cast<int32_t>(text.size()), static_cast<int32_t>(rest.size()));
  return kinds;
}

// Lengths on both sides of one and two blocks of eight units, whose last block overlaps the one before.
TEST_F(StringsWithoutHost, OrderingEqualityAndLengthHoldForEveryKindOfTextLengthAndPlaceOfDifference) {
  auto expected = [](const std::u16string& a, const std::u16string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  };
  for (size_t n : {0, 1, 3, 4, 6, 7, 8, 9, 10, 15, 16, 17, 23, 24, 25, 33}) {
    for (size_t m : {n, n + 1, n + 9}) {
      for (size_t at = 0; at <= n; ++at) {
        const std::u16string a(n, u'k');
        std::u16string b(m, u'k');
        if (at < n) b[at] = at % 2 ? u'\x8000' : u'a';
        for (const ZelString& x : eachKindOf(a)) {
          EXPECT_EQ(x.length(), static_cast<int32_t>(n));
          for (const ZelString& y : eachKindOf(b)) {
            EXPECT_EQ(x < y, expected(a, b)) << n << " units against " << m << ", differing at " << at;
            EXPECT_EQ(y < x, expected(b, a)) << m << " units against " << n << ", differing at " << at;
            EXPECT_EQ(x == y, a == b) << n << " units against " << m << ", differing at " << at;
          }
        }
      }
    }
  }
}

TEST_F(StringsWithoutHost, ARefilledStringKeepsItsBufferUnlessItWouldHoldMostlyNothing) {
  ZelString s(u"abcdefgh");
  s += ZelString(u"ij");
  const char16_t* buffer = s.data();
  s.setBuffer(u"klmno", -1);
  EXPECT_EQ(s.data(), buffer) << "a shorter text fits in place";
  s.setBuffer(s.data() + 2, -1);
  EXPECT_EQ(text(s), u"mno") << "a text from the string's own buffer moves within it";
  const char16_t unterminated[] = {u'a', u'b', u'c'};
  s.setBuffer(unterminated, 2);
  EXPECT_EQ(text(s), u"ab") << "no unit past the first n is read";
  s.setNarrow("p\xe9qr", 3);
  EXPECT_EQ(text(s), u"p\u00e9q") << "bytes are Latin-1 units, the first n of them";
  EXPECT_EQ(s.data(), buffer);
  s.setNarrow("p", -1);
  EXPECT_TRUE(s.isEmpty());
  ZelString large;
  large.setBuffer(std::u16string(1000, u'x').c_str(), -1);
  const char16_t* largeBuffer = large.data();
  large.setBuffer(u"y", -1);
  EXPECT_EQ(text(large), u"y");
  EXPECT_NE(large.data(), largeBuffer) << "a short text lets a large buffer go";
}

TEST_F(StringsWithoutHost, NarrowDropsNonAsciiAndUtf8EncodesEveryCharacter) {
  ZelString mixed(u"a\u00e9\u4e2d\U0001F600z");
  EXPECT_STREQ(mixed.toNarrow(), "az");
  EXPECT_STREQ(mixed.toUtf8(), "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80z");
  char16_t lone[] = {u'x', 0xD800, u'y', 0};
  EXPECT_STREQ(ZelString(lone).toUtf8(), "x\xef\xbf\xbdy") << "a lone surrogate never makes invalid UTF-8";
  EXPECT_EQ(platform::fromUtf8("a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80z"), text(mixed));
  EXPECT_EQ(platform::fromUtf8("x\xed\xa0\x80y"), u"x\ufffd\ufffd\ufffdy") << "an encoded surrogate is none";
  EXPECT_EQ(text(ZelString("caf\xe9")), u"caf\u00e9") << "narrow bytes widen as Latin-1";
}

TEST_F(StringsWithoutHost, WideEditingOperations) {
  ZelString s(u"Hello, world");
  EXPECT_EQ(s.find(ZelString(u"world"), 0), 7);
  EXPECT_EQ(s.find(ZelString(u"o"), 5), 8);
  EXPECT_EQ(s.find(ZelString(u""), 99), 0);
  EXPECT_EQ(s.find(ZelString(u"o"), -1), -1);
  EXPECT_EQ(text(s.left(5)), u"Hello");
  EXPECT_EQ(text(s.mid(7, 100)), u"world");
  EXPECT_EQ(text(s.mid(7, 0)), u"");
  EXPECT_EQ(text(s.replace(0, 5, ZelString(u"Bye"))), u"Bye, world");
  EXPECT_TRUE(s.equalsPrefix(ZelString(u"Help"), 3));
  EXPECT_FALSE(s.equalsPrefix(ZelString(u"He"), 3));
  EXPECT_EQ(text(ZelString(u" a\tb\n c ").removeWhitespace()), u"abc");
  ZelString r(u"abcdef");
  r.remove(1, 2);
  EXPECT_EQ(text(r), u"adef");
  r.truncate(2);
  EXPECT_EQ(text(r), u"ad");
}

TEST_F(StringsWithoutHost, NarrowFindAndArg) {
  ZelCString s("a%1b%1");
  s.arg("%1");
  EXPECT_STREQ(s.c_str(), "a%1b%1") << "inserting the placeholder itself changes nothing";
  s.arg("xy");
  EXPECT_STREQ(s.c_str(), "axybxy");
  ZelCString grow("%1");
  grow.arg("%1%1x");
  EXPECT_STREQ(grow.c_str(), "%1%1x") << "scanning continues after the inserted text";
  EXPECT_EQ(ZelCString("abc").find("", 10), 0);
  EXPECT_EQ(ZelCString("abc").find("abcd", 0), -1);
  EXPECT_EQ(ZelCString("abcabc").find("bc", 2), 4);
  ZelCString same("abc", 3);
  const char* buffer = same.data();
  same.assign("xyz");
  EXPECT_EQ(same.data(), buffer) << "same length is written in place";
}

using StringsWithHostSupport = ModuleTest;

TEST_F(StringsWithHostSupport, AHostWithoutOrderingLeavesItShorterFirst) {
  EXPECT_TRUE(ZelString(u"z") < ZelString(u"aa"));
  EXPECT_TRUE(ZelString(u"ab") < ZelString(u"ac"));
}

// Runs after a test that found the host without an ordering: what was found then ends with its host.
TEST_F(StringsWithHostSupport, TheHostDecidesOrderingNarrowingWhitespaceAndParsing) {
  host_.core().enable(CoreFamily::Optional::kStrSupport, true);
  EXPECT_FALSE(ZelString(u"z") < ZelString(u"aa")) << "dictionary order, not length first";
  EXPECT_STREQ(ZelString(u"caf\u00e9").toNarrow(), "caf\xc3\xa9");
  EXPECT_EQ(text(ZelString(u"a\u00a0b c").removeWhitespace()), u"abc");
  bool ok = false;
  EXPECT_DOUBLE_EQ(ZelString(u"2.75").toDouble(&ok), 2.75);
  EXPECT_TRUE(ok);
}

std::vector<std::string> narrow(const std::vector<ZelCString>& tokens) {
  std::vector<std::string> result;
  for (const ZelCString& token : tokens) result.push_back(token.c_str());
  return result;
}

std::vector<std::u16string> items(const ZelString& list) {
  ZelCountedArray<ZelString> out;
  list.splitCounted(out);
  std::vector<std::u16string> result;
  for (int32_t i = 1; i <= out.count(); ++i) result.push_back(text(out[i]));
  return result;
}

TEST_F(StringsWithoutHost, DigitRunsCompareByValueAndLeadingZerosOnlyBreakTies) {
  struct Case {
    const char16_t* a;
    const char16_t* b;
    int order;
  };
  for (const Case& c : {Case{u"a10", u"a9", 1}, Case{u"Plane 2", u"Plane 10", -1}, Case{u"abc", u"abd", -1},
                        Case{u"", u"a", -1}, Case{u"x12y3", u"x12y3", 0}, Case{u"x12y4", u"x12y3", 1},
                        Case{u"a09", u"a9", -1}, Case{u"x7", u"x007", 1},
                        Case{u"x007b", u"x7a", 1},  // a later difference outweighs the zeros
                        Case{nullptr, u"a", -1}, Case{u"a", nullptr, 1}, Case{nullptr, nullptr, 0}}) {
    EXPECT_EQ(naturalCompare(c.a, c.b), c.order)
        << ZelString(c.a).toUtf8() << " vs " << ZelString(c.b).toUtf8();
  }
}

TEST_F(StringsWithoutHost, TokenizerGivesEmptyTokensBetweenSeparatorsAndTrimsOnRequest) {
  ZelCString source(" a , b,,c ");
  ZelCStringTokenizer tokens(source, ',', true);
  std::vector<std::string> seen;
  while (tokens.next()) seen.push_back(tokens.token().c_str());
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "", "c"}));
  ZelCString empty("");
  EXPECT_FALSE(ZelCStringTokenizer(empty, ',', false).next());
  ZelCString untrimmed("x ,y");
  ZelCStringTokenizer raw(untrimmed, ',', false);
  ASSERT_TRUE(raw.next());
  EXPECT_STREQ(raw.token().c_str(), "x ");
}

TEST_F(StringsWithoutHost, SplittingRespectsBracketsAndEscapesAndDropsEmptyTokens) {
  using Strings = std::vector<std::string>;
  ZelCString comma(",");
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString("f(a,b),g"), comma)), (Strings{"f(a,b)", "g"}));
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString("a\\,b"), comma)), (Strings{"a\\,b"}));
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString(",,a,,"), comma)), (Strings{"a"}));
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString("<x;y>;[p;q];{r}"), ZelCString(";"))),
            (Strings{"<x;y>", "[p;q]", "{r}"}));
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString("a),b"), comma)), (Strings{"a),b"}))
      << "an unmatched closing bracket keeps separators from splitting";
}

// No blank: no item. A count of zero, or text that is no number (counted as 0), gives the whole text; a count
// past the end is cut there, and a fractional one truncated.
TEST_F(StringsWithoutHost, MalformedCountsNeitherLoopNorOverrun) {
  EXPECT_TRUE(items(ZelString()).empty());
  struct Case {
    const char16_t* list;
    std::vector<std::u16string> items;
  };
  for (const Case& c :
       {Case{u"abc", {}}, Case{u"0 abc", {u"0 abc"}}, Case{u"1 aword 2", {u"a", u"1 aword 2"}},
        Case{u"-3 abc", {u"-3 abc"}}, Case{u"nan xy", {u"nan xy"}}, Case{u"inf xy", {u"inf xy"}},
        Case{u"0.5 xy", {u"0.5 xy"}}, Case{u"1e300 ab", {u"ab"}}, Case{u"99999999999 ab", {u"ab"}},
        Case{u"5 ab", {u"ab"}}, Case{u"2.9 abc", {u"ab"}}, Case{u"3 ", {u""}}})
    EXPECT_EQ(items(ZelString(c.list)), c.items) << ZelString(c.list).toUtf8();
}

TEST(ZelIdFromString, ReadsTheRegistryFormAndKeepsTheFieldsReadBeforeABadOne) {
  const std::string zero = "00000000-0000-0000-0000-000000000000";
  const std::string commas(144, ',');
  struct Case {
    std::string text;
    std::string id;
  };
  for (const Case& c : {
           Case{"0x6a5243e7, 0xe352, 0x4a7a, 0x98, 0x67, 0xa3, 0xdb, 0x2e, 0xb5, 0x60, 0xe5",
                "6a5243e7-e352-4a7a-9867-a3db2eb560e5"},
           Case{"1,2,3,4,5,6,7,8,9,a,b,c,d", "00000001-0002-0003-0405-060708090a0b"},  // extra fields ignored
           Case{",,1,,2,", "00000001-0002-0000-0000-000000000000"},                    // empty fields vanish
           Case{"12345678,zz,3", "12345678-0000-0000-0000-000000000000"},
           Case{"0x1ffff,0x12345", "0001ffff-2345-0000-0000-000000000000"},  // cut to the field width
           Case{"12ab zz,7", "000012ab-0007-0000-0000-000000000000"},        // text after the number ignored
           Case{"  0x", zero}, Case{"", zero}, Case{"{6a5243e7-e352-4a7a-9867-a3db2eb560e5}", zero},
           Case{"1,2,3" + commas + "7", "00000001-0002-0003-0700-000000000000"},   // index 149: still read
           Case{"1,2,3" + commas + ",7", "00000001-0002-0003-0000-000000000000"},  // index 150: cut off
       }) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(canonicalText(ZelID::fromString(ZelCString(c.text.c_str()))), c.id);
  }
  EXPECT_EQ(canonicalText(ZelID::fromString(static_cast<const char*>(nullptr))), zero);
  EXPECT_FALSE(GUIDUtils::isValid(ZelID::fromString("{1}")));
}

}  // namespace
