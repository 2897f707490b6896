#include "host/files/tfm_transform_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "framework/object/iptr.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"

namespace {

class TfmFiles : public ModuleTest {
 protected:
  ITransformUtil& util() { return host_.files().transforms(); }
  ITransformLoadReason& reasons() { return host_.files().transforms(); }
  ScratchDirectory scratch_;
};

TEST_F(TfmFiles, AMatrixWrittenReadsBackBitForBitAsFourLinesOfFour) {
  const double written[16] = {0.1, -1.0 / 3, 0, 1e-300, 2.5e10, 1, 0, -0.123456789012345678,
                              0,   0,        1, 7,      0,      0, 0, 1};
  ASSERT_TRUE(util().save(scratch_.module("m.tfm"), written));
  const std::string text = scratch_.read("m.tfm");
  EXPECT_EQ(text.substr(0, text.find('\n')), "0.10000000000000001 -0.33333333333333331 0 1e-300");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
  double read[16] = {};
  ASSERT_TRUE(util().load(scratch_.module("m.tfm"), read));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(read[i], written[i]) << i;
}

TEST_F(TfmFiles, AnythingButSixteenFiniteNumbersIsRefusedAndTheMatrixKept) {
  const std::string identity = "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n";
  scratch_.write("crlf.tfm", "1 0 0 0.5\r\n0 1 0 0\r\n0 0 1 0\r\n0 0 0 1\r\n");
  double matrix[16] = {};
  ASSERT_TRUE(util().load(scratch_.module("crlf.tfm"), matrix));
  EXPECT_EQ(matrix[3], 0.5);
  // Each with what the user is told it lacks, in the file's rows of four.
  const std::pair<std::string, std::u16string> refused[] = {
      {std::string(), u"it is empty"},
      {identity.substr(0, identity.size() - 3), u"row 4 is cut short"},
      {identity.substr(0, identity.size() - 8), u"row 4 is missing"},
      {identity + "1", u"it holds more than 16 numbers"},
      {"nan" + identity.substr(1), u"row 1, number 1 is not a finite number"},
      {"1e999" + identity.substr(1), u"row 1, number 1 is not a finite number"},
      {"1mm" + identity.substr(1), u"row 1, number 1 is not a number"},
      {identity.substr(0, 8) + std::string("\0", 1) + identity.substr(9),
       u"row 2, number 1 is not a number"}};
  for (const auto& [bad, why] : refused) {
    SCOPED_TRACE(bad);
    scratch_.write("bad.tfm", bad);
    std::fill(std::begin(matrix), std::end(matrix), 7.0);
    EXPECT_FALSE(util().load(scratch_.module("bad.tfm"), matrix));
    ZelString told;
    reasons().explainLoad(scratch_.module("bad.tfm"), told);
    EXPECT_EQ(std::u16string(told.c_str()), why);
    EXPECT_EQ(matrix[0], 7.0);
  }
  EXPECT_FALSE(util().load(scratch_.module("missing.tfm"), matrix));
  ZelString told(u"stale");
  reasons().explainLoad(scratch_.module("missing.tfm"), told);
  EXPECT_TRUE(told.isEmpty()) << "a file that is not there has nothing wrong in it";
  EXPECT_FALSE(util().load(scratch_.module(), matrix)) << "a directory";
  reasons().explainLoad(scratch_.module(), told);
  EXPECT_EQ(std::u16string(told.c_str()), u"it is not a file");
  matrix[5] = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(util().save(scratch_.module("inf.tfm"), matrix));
  EXPECT_FALSE(scratch_.exists("inf.tfm"));
  EXPECT_FALSE(util().save(scratch_.module("no/such/folder.tfm"), matrix));
}

}  // namespace
