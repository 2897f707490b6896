#include "commands/transform/xal_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "basic_types/zel_array.h"
#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

const std::string kRows =
    R"(<R><V n="I">1</V><V n="J">0</V><V n="K">0</V></R><R><V n="I">0</V><V n="J">1</V><V n="K">0</V></R>)"
    R"(<R><V n="I">0</V><V n="J">0</V><V n="K">1</V></R>)";
const std::string kOrigin = R"(<O><V n="X">100</V><V n="Y">0</V><V n="Z">0</V></O>)";
const std::string kScale = R"(<P n="scale">2</P>)";

std::string xal(const std::string& scale, const std::string& rows = kRows,
                const std::string& origin = kOrigin) {
  return "<T>" + scale + rows + origin + "</T>";
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

class XalReaderTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    reader_.createInstance(classIdOf("XALReader"));
    ASSERT_TRUE(reader_);
  }
  void TearDown() override {
    reader_.release();
    ModuleTest::TearDown();
  }
  bool read(const std::string& bytes) {
    scratch_.write("t.xal", bytes);
    return reader_->read(scratch_.module("t.xal"), matrix_);
  }

  ScratchDirectory scratch_;
  IPtr<IZelTransformationFileReader> reader_;
  double matrix_[16] = {};
};

TEST_F(XalReaderTest, DescribesItselfAsOneFormatWithTheExtensionXal) {
  EXPECT_EQ(text(reader_->description()), u"XAL Transform File");
  EXPECT_EQ(text(reader_->extensions()), u"3 xal");
  ZelCountedArray<ZelString> items;
  reader_->extensions().splitCounted(items);
  ASSERT_EQ(items.count(), 1);
  EXPECT_EQ(text(items[1]), u"xal");
}

TEST_F(XalReaderTest, TheTranslationIsInMillimetresTimesTheScaleAndTheRotationIsTakenAsWritten) {
  ASSERT_TRUE(read(xal(kScale)));
  const double expected[16] = {1, 0, 0, 0.2, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix_[i], expected[i]) << i;
  ASSERT_TRUE(read(xal("")));
  EXPECT_EQ(matrix_[3], 0.1);
  ASSERT_TRUE(read(replaced(xal(kScale), R"("I">1<)", R"("I">0.1<)")));
  EXPECT_EQ(matrix_[0], 0.10000000149011612);
  EXPECT_EQ(matrix_[5], 1.0);
  ASSERT_TRUE(read(replaced(xal(""), R"("Y">0<)", R"("Y"> -1.5 <)")));
  EXPECT_EQ(matrix_[7], -0.0015);
}

TEST_F(XalReaderTest, AScaleThatIsNoNumberOrTooLongCountsAsOne) {
  for (const std::string& scale :
       {std::string("abc"), std::string(600, '3'), std::string("nan"), std::string("1e39")}) {
    SCOPED_TRACE(scale.substr(0, 20));
    ASSERT_TRUE(read(xal(R"(<P n="scale">)" + scale + "</P>")));
    EXPECT_EQ(matrix_[3], 0.1);
  }
  ASSERT_TRUE(read(xal(R"(<P n="scale">)" + std::string(510, ' ') + "3</P>")));
  EXPECT_DOUBLE_EQ(matrix_[3], 0.1 * 3);
}

TEST_F(XalReaderTest, ATextWithoutAWholeTransformIsRefusedAndTheMatrixKept) {
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"unquoted I", replaced(xal(kScale), R"("I">1<)", R"(I>1<)")},
      {"origin before the rows", xal(kScale, kOrigin, kRows)},
      {"zero byte before the origin", replaced(xal(kScale), "<O>", std::string("\0<O>", 4))},
      {"value nan", replaced(xal(kScale), R"("J">1<)", R"("J">nan<)")},
      {"value inf", replaced(xal(kScale), R"("Z">0<)", R"("Z">-inf<)")},
      {"value beyond float", replaced(xal(kScale), R"("K">1<)", R"("K">1e39<)")},
      {"value empty", replaced(xal(kScale), R"("X">100<)", R"("X"><)")},
      {"sign twice", replaced(xal(kScale), R"("X">100<)", R"("X">+-100<)")},
      {"decimal comma", replaced(xal(kScale), R"("X">100<)", R"("X">100,5<)")},
      {"unit after the number", replaced(xal(kScale), R"("Y">0<)", R"("Y">-1.5 mm<)")},
      {"scale with a decimal comma", replaced(xal(kScale), ">2<", ">2,5<")},
      {"no > after a token", "<T>" + kRows + R"(<V n="X")"},
      {"empty", ""},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    std::fill(std::begin(matrix_), std::end(matrix_), 7.0);
    EXPECT_FALSE(read(each.bytes));
    EXPECT_EQ(matrix_[0], 7.0);
  }
  EXPECT_FALSE(reader_->read(scratch_.module("missing.xal"), matrix_));
  EXPECT_FALSE(reader_->read(scratch_.module(), matrix_));
}

// A turn of 120 degrees about (1, 1, 1): x goes to y, y to z, z to x.
const std::string kTurnedRows =
    R"(<R><V n="I">0</V><V n="J">0</V><V n="K">1</V></R><R><V n="I">1</V><V n="J">0</V><V n="K">0</V></R>)"
    R"(<R><V n="I">0</V><V n="J">1</V><V n="K">0</V></R>)";
const double kTurned[16] = {0, 0, 1, 0.1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1};
// A row a user kept when editing the file, in a comment: a comment is no data.
const std::string kOldRow = R"(<R><V n="I">1</V><V n="J">0</V><V n="K">0</V></R>)";
const std::string kOldRowComment = "<!-- old: " + kOldRow + " -->";

TEST_F(XalReaderTest, ATurnedRotationReadsRowByRowWhateverCommentsAndCDataTheFileHolds) {
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"no comment", xal("", kTurnedRows)},
      {"an old row in a comment before the rows", xal("", kOldRowComment + kTurnedRows)},
      {"a comment between the rows",
       xal("", replaced(kTurnedRows, "</R><R>", "</R>" + kOldRowComment + "<R>"))},
      {"a commented scale", xal(R"(<!-- <P n="scale">2</P> -->)", kTurnedRows)},
      {"a value in CDATA", xal("", replaced(kTurnedRows, R"("K">1<)", R"("K"><![CDATA[1]]><)"))},
      {"a comment inside CDATA is text",
       xal("", replaced(kTurnedRows, R"("K">1<)", R"("K"><![CDATA[1<!--]]><)")) + "-->"},
      {"an old row in a processing instruction",
       R"(<?xml version="1.0"?><?old )" + kOldRow + " ?>" + xal("", kTurnedRows)},
      {"an old row in an entity of the document type", R"(<!DOCTYPE T [ <!ENTITY old ')" + kOldRow +
                                                           R"('> <!-- ]> --> <!ENTITY s "]>"> ]>)" +
                                                           xal("", kTurnedRows)},
      {"declarations in the document type, one with a default that reads as a token",
       R"(<!DOCTYPE XAL [ <!ELEMENT V (#PCDATA)> <!ATTLIST V n CDATA "I"> ]>)" + xal("", kTurnedRows)},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    std::fill(std::begin(matrix_), std::end(matrix_), 7.0);
    ASSERT_TRUE(read(each.bytes));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix_[i], kTurned[i]) << i;
  }
  EXPECT_FALSE(read(xal("", "<!-- " + kTurnedRows))) << "a comment without its end hides the rest";
  EXPECT_FALSE(read("<?old " + xal("", kTurnedRows))) << "an instruction without its end hides the rest";
}

// The text is handed over without a terminator, so reading one byte past it is caught by the address
// sanitizer.
TEST(XalText, AFileThatEndsRightAfterTheLastOpeningBracketReadsAndNothingPastItIsTouched) {
  const std::string whole = xal(kScale);
  const std::string cut = whole.substr(0, whole.rfind(R"(">0<)") + 4);
  ASSERT_EQ(cut.back(), '<');
  for (size_t size = 0; size <= cut.size(); ++size) {
    auto bytes = std::make_unique<char[]>(size);
    std::copy_n(cut.data(), size, bytes.get());
    double matrix[16] = {};
    EXPECT_EQ(readXalText(bytes.get(), size, matrix), size >= cut.size() - 1) << size;
  }
}

}  // namespace
