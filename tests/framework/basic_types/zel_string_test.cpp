#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
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
  for (const Case& c : {
           Case{ZelString::number(-7), u"-7"},
           Case{ZelString::number(1e10), u"10000000000.000000"},
           Case{ZelString::number(-2e10), u"-2.000000e+10"},
           Case{ZelString::number(0.003), u"0.003000"},
           Case{ZelString::formatDouble(3.14159, {false, false, ".2"}), u"3.14"},
           Case{ZelString::formatDouble(31415.9, {true, true, ".3"}), u"3.142e+04"},
           Case{ZelString::formatDouble(0.5, {true, false, ""}), u"0.5"},
           Case{ZelString::formatDouble(2.5, {false, false, "s%n"}), u"2.500000"},
           Case{ZelString::formatDouble(2.5, {false, false, "1.2.3"}), u"2.500000"},
           Case{ZelString::formatDouble(-2.5, {false, false, "+08.2"}), u"-0002.50"},
       }) {
    EXPECT_EQ(text(c.formatted), c.expected);
  }
  EXPECT_EQ(text(ZelString::formatDouble(1e300, {false, false, ".1"})).size(), 303u) << "grows past 40 bytes";
  for (const char* precision : {"99999999999", "2147483647.1", ".99999999999", "-4000000000.4000000000"}) {
    SCOPED_TRACE(precision);
    std::u16string formatted = text(ZelString::formatDouble(1.5, {false, false, precision}));
    EXPECT_LE(formatted.size(), 1000u) << "huge widths and precisions are capped";
    EXPECT_NE(formatted.find(u"1.5"), std::u16string::npos);
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

TEST_F(StringsWithoutHost, OrderingHoldsForEveryKindOfTextLengthAndPlaceOfDifference) {
  auto expected = [](const std::u16string& a, const std::u16string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  };
  for (size_t n = 0; n <= 10; ++n) {
    for (size_t m : {n, n + 1}) {
      for (size_t at = 0; at <= n; ++at) {
        const std::u16string a(n, u'k');
        std::u16string b(m, u'k');
        if (at < n) b[at] = at % 2 ? u'\x8000' : u'a';
        for (const ZelString& x : eachKindOf(a)) {
          for (const ZelString& y : eachKindOf(b)) {
            EXPECT_EQ(x < y, expected(a, b)) << n << " units against " << m << ", differing at " << at;
            EXPECT_EQ(y < x, expected(b, a)) << m << " units against " << n << ", differing at " << at;
          }
        }
      }
    }
  }
}

TEST_F(StringsWithoutHost, NarrowDropsNonAsciiAndUtf8EncodesEveryCharacter) {
  ZelString mixed(u"a\u00e9\u4e2d\U0001F600z");
  EXPECT_STREQ(mixed.toNarrow(), "az");
  EXPECT_STREQ(mixed.toUtf8(), "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80z");
  char16_t lone[] = {u'x', 0xD800, u'y', 0};
  EXPECT_STREQ(ZelString(lone).toUtf8(), "x\xef\xbf\xbdy") << "a lone surrogate never makes invalid UTF-8";
  EXPECT_EQ(text(ZelString("caf\xe9")), u"caf\u00e9") << "narrow bytes widen as Latin-1";
}

TEST_F(StringsWithoutHost, ToDoubleReadsALeadingNumberOnly) {
  bool ok = true;
  EXPECT_EQ(ZelString(u"abc").toDouble(&ok), 0.0);
  EXPECT_FALSE(ok);
  EXPECT_DOUBLE_EQ(ZelString(u"  12.5mm").toDouble(&ok), 12.5);
  EXPECT_TRUE(ok);
  EXPECT_EQ(ZelString().toDouble(&ok), 0.0);
  EXPECT_FALSE(ok);
  EXPECT_DOUBLE_EQ(ZelString(u"-3e2").toDouble(nullptr), -300.0);
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
  EXPECT_EQ(text(ZelString::fromPattern("7")), u"Pt7");
}

TEST_F(StringsWithoutHost, AssigningTextFromInsideTheOwnBufferCopiesBeforeReleasing) {
  ZelCString narrow("abcdef", 6);
  narrow = narrow.c_str() + 2;
  EXPECT_STREQ(narrow.c_str(), "cdef");
  ZelString wide(u"abcdef");
  wide.setBuffer(u"x", -1);
  wide = ZelString(u"uvwxyz");
  wide.setBuffer(wide.c_str(), -1);  // a copy of itself
  EXPECT_EQ(text(wide), u"uvwxyz");
  ZelString owned(u"0123456789");
  owned.setBuffer(owned.c_str(), -1);
  owned.setBuffer(owned.c_str() + 4, 3);
  EXPECT_EQ(text(owned), u"456");
}

TEST_F(StringsWithoutHost, NarrowEditingClampsPositionsToTheText) {
  ZelCString s("abcdef", 100);
  EXPECT_STREQ(s.mid(4, 10).c_str(), "ef");
  EXPECT_STREQ(s.mid(-3, 2).c_str(), "ab");
  EXPECT_STREQ(s.mid(50, 2).c_str(), "");
  s.replace(4, 50, "XY");
  EXPECT_STREQ(s.c_str(), "abcdXY");
  s.replace(-5, 1, "_");
  EXPECT_STREQ(s.c_str(), "_bcdXY");
  s.replace(99, 3, "!");
  EXPECT_STREQ(s.c_str(), "_bcdXY!");
  EXPECT_STREQ(ZelCString("  key \t").trimmed().c_str(), "key");
  EXPECT_STREQ(ZelCString::concatDumpCounter("Plugin").c_str(), "PluginDumpCounter");
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

TEST_F(StringsWithHostSupport, TheHostDecidesOrderingNarrowingWhitespaceAndParsing) {
  host_.enable(StandinHost::Optional::kStrSupport, true);
  EXPECT_FALSE(ZelString(u"z") < ZelString(u"aa")) << "dictionary order, not length first";
  EXPECT_TRUE(ZelString(u"aa") < ZelString(u"z"));
  EXPECT_STREQ(ZelString(u"caf\u00e9").toNarrow(), "caf\xc3\xa9");
  EXPECT_EQ(text(ZelString(u"a\u00a0b c").removeWhitespace()), u"abc");
  bool ok = false;
  EXPECT_DOUBLE_EQ(ZelString(u"2.75").toDouble(&ok), 2.75);
  EXPECT_TRUE(ok);
}

}  // namespace
