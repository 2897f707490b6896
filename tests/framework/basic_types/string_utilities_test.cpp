#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic_types/string_utilities.h"
#include "basic_types/zel_array.h"
#include "basic_types/zel_cstring_tokenizer.h"
#include "basic_types/zel_string.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

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

using NaturalOrder = NoHostTest;

TEST_F(NaturalOrder, DigitRunsCompareByValueAndLeadingZerosOnlyBreakTies) {
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

using NarrowTokens = NoHostTest;

TEST_F(NarrowTokens, TokenizerGivesEmptyTokensBetweenSeparatorsAndTrimsOnRequest) {
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

TEST_F(NarrowTokens, SplittingRespectsBracketsAndEscapesAndDropsEmptyTokens) {
  ZelCString comma(",");
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString("f(a,b),g"), comma)),
            (std::vector<std::string>{"f(a,b)", "g"}));
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString("a\\,b"), comma)), (std::vector<std::string>{"a\\,b"}));
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString(",,a,,"), comma)), (std::vector<std::string>{"a"}));
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString("<x;y>;[p;q];{r}"), ZelCString(";"))),
            (std::vector<std::string>{"<x;y>", "[p;q]", "{r}"}));
  EXPECT_EQ(narrow(splitOutsideBrackets(ZelCString("a),b"), comma)), (std::vector<std::string>{"a),b"}))
      << "an unmatched closing bracket keeps separators from splitting";
}

TEST_F(NarrowTokens, LowerCaseCopyOwnsItsTextAndLeavesTheLiteral) {
  static const char kLiteral[] = "MiXeD 42";
  ZelCString borrowed(kLiteral);
  ZelCString lowered = toLowerCopy(borrowed);
  EXPECT_STREQ(lowered.c_str(), "mixed 42");
  EXPECT_FALSE(lowered.isBorrowed());
  EXPECT_STREQ(kLiteral, "MiXeD 42");
  EXPECT_EQ(toLowerCopy(ZelCString()).data(), nullptr);
}

using CountedLists = NoHostTest;

TEST_F(CountedLists, AppendWritesLengthBlankItemAndSplitAppendsThemAfterTheItemsThere) {
  ZelString list;
  list.appendCounted(ZelString(u"ab"));
  list.appendCounted(ZelString(u"xyz"));
  list.appendCounted(ZelString(u"a b"));
  EXPECT_EQ(text(list), u"2 ab3 xyz3 a b");
  ZelCountedArray<ZelString> out;
  out.append(ZelString(u"kept"));
  list.splitCounted(out);
  ASSERT_EQ(out.count(), 4);
  EXPECT_EQ(text(out[1]), u"kept");
  EXPECT_EQ(text(out[4]), u"a b");
}

TEST_F(CountedLists, MalformedCountsNeitherLoopNorOverrun) {
  EXPECT_TRUE(items(ZelString(u"abc")).empty()) << "no blank, no item";
  EXPECT_TRUE(items(ZelString()).empty());
  EXPECT_EQ(items(ZelString(u"0 abc")), (std::vector<std::u16string>{u"0 abc"})) << "zero: the whole text";
  EXPECT_EQ(items(ZelString(u"1 aword 2")), (std::vector<std::u16string>{u"a", u"1 aword 2"}))
      << "text that is no number counts as 0: the whole string once more";
  EXPECT_EQ(items(ZelString(u"-3 abc")), (std::vector<std::u16string>{u"-3 abc"}));
  EXPECT_EQ(items(ZelString(u"nan xy")), (std::vector<std::u16string>{u"nan xy"}));
  EXPECT_EQ(items(ZelString(u"inf xy")), (std::vector<std::u16string>{u"inf xy"}));
  EXPECT_EQ(items(ZelString(u"0.5 xy")), (std::vector<std::u16string>{u"0.5 xy"}));
  EXPECT_EQ(items(ZelString(u"1e300 ab")), (std::vector<std::u16string>{u"ab"}));
  EXPECT_EQ(items(ZelString(u"99999999999 ab")), (std::vector<std::u16string>{u"ab"}));
  EXPECT_EQ(items(ZelString(u"5 ab")), (std::vector<std::u16string>{u"ab"})) << "cut at the end";
  EXPECT_EQ(items(ZelString(u"2.9 abc")), (std::vector<std::u16string>{u"ab"})) << "the count is truncated";
  EXPECT_EQ(items(ZelString(u"3 ")), (std::vector<std::u16string>{u""}));
}

}  // namespace
