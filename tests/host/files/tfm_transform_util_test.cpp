#include "host/files/tfm_transform_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "framework/object/iptr.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"

namespace {

class TfmFiles : public ModuleTest {
 protected:
  ITransformUtil& util() { return host_.files().transforms(); }
  ScratchDirectory scratch_;
};

TEST_F(TfmFiles, AMatrixWrittenReadsBackBitForBitAsFourLinesOfFour) {
  const double written[16] = {0.1, -1.0 / 3, 0, 1e-300, 2.5e10, 1, 0, -0.123456789012345678,
                              0,   0,        1, 7,      0,      0, 0, 1};
  ASSERT_TRUE(util().save(scratch_.module("m.tfm"), written));
  const std::string text = scratch_.read("m.tfm");
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "0.10000000000000001 -0.33333333333333331 0 1e-300");
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
  for (const std::string& bad :
       {std::string(), identity.substr(0, identity.size() - 3), identity + "1", "nan" + identity.substr(1),
        "1e999" + identity.substr(1), "1mm" + identity.substr(1),
        identity.substr(0, 8) + std::string("\0", 1) + identity.substr(9)}) {
    SCOPED_TRACE(bad);
    scratch_.write("bad.tfm", bad);
    std::fill(std::begin(matrix), std::end(matrix), 7.0);
    EXPECT_FALSE(util().load(scratch_.module("bad.tfm"), matrix));
    EXPECT_EQ(matrix[0], 7.0);
  }
  EXPECT_FALSE(util().load(scratch_.module("missing.tfm"), matrix));
  EXPECT_FALSE(util().load(scratch_.module(), matrix)) << "a directory";
  matrix[5] = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(util().save(scratch_.module("inf.tfm"), matrix));
  EXPECT_FALSE(scratch_.exists("inf.tfm"));
  EXPECT_FALSE(util().save(scratch_.module("no/such/folder.tfm"), matrix));
}

}  // namespace
