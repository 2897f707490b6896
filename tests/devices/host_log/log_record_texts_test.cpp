#include <gtest/gtest.h>

#include <string>

#include "devices/host_log/log_record_texts.h"
#include "platform/utf8.h"

namespace {

std::string utf8(const ZelString& s) {
  return platform::toUtf8(s.c_str());
}

std::string fileName(const char16_t* log, const char* category, int32_t number) {
  return utf8(eventFileName(ZelString(log), ZelCString(category), number));
}

TEST(EventFileName, SitsBesideTheLogWithTheLowerCasedCategoryAndAPaddedNumber) {
  EXPECT_EQ(fileName(u"C:\\logs\\run.log", "HardProbe", 7), "C:\\logs\\run-hardprobe-0007.xml");
  EXPECT_EQ(fileName(u"C:\\logs\\run", "HardProbe", 12), "C:\\logs\\run-hardprobe-0012.xml");
  EXPECT_EQ(fileName(u"C:\\logs\\run.log", "HardProbe", 9999), "C:\\logs\\run-hardprobe-9999.xml");
  EXPECT_EQ(fileName(u"C:/logs/v1.2/run.log", "LaserScan", 0), "C:\\logs\\v1.2\\run-laserscan-0000.xml")
      << "a dot in a folder name is no extension";
}

TEST(AlignmentText, WritesSeventeenDigitsAndABlankAfterEachElement) {
  EXPECT_EQ(utf8(alignmentText(Matrix4x4::identity())), "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 ");
  Matrix4x4 shifted = Matrix4x4::translation(Vector3(0.1, -2.5, 1e-12));
  EXPECT_EQ(utf8(alignmentText(shifted)),
            "1 0 0 0.10000000000000001 0 1 0 -2.5 0 0 1 9.9999999999999998e-13 0 0 0 1 ");
}

TEST(AlignmentText, ReadsBackExactlyWhatWasWritten) {
  Matrix4x4 written;
  for (int i = 0; i < 16; ++i) written.m[i] = 1.0 / (i + 3) - i * 1e7;
  Matrix4x4 read;
  ASSERT_TRUE(parseAlignmentText(utf8(alignmentText(written)).c_str(), read));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(read.m[i], written.m[i]) << "element " << i;

  ASSERT_TRUE(parseAlignmentText("1 0 0 5\n0 1 0 6\t0 0 1 7 0 0 0 1", read));
  EXPECT_EQ(read.m[3], 5.0);
  EXPECT_EQ(read.m[7], 6.0);
  EXPECT_EQ(read.m[11], 7.0);
}

TEST(AlignmentText, RefusesAnythingButSixteenFiniteNumbersAndKeepsTheMatrix) {
  const Matrix4x4 kept = Matrix4x4::translation(Vector3(1, 2, 3));
  for (const char* bad : {"", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 1",
                          "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 x", "1 0 0 0 0 1 0 0 nan 0 1 0 0 0 0 1",
                          "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1e999", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 junk"}) {
    Matrix4x4 target = kept;
    EXPECT_FALSE(parseAlignmentText(bad, target)) << bad;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(target.m[i], kept.m[i]) << bad;
  }
  Matrix4x4 target = kept;
  EXPECT_FALSE(parseAlignmentText(nullptr, target));
}

}  // namespace
