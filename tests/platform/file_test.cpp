#include <gtest/gtest.h>
#include <filesystem>
#include <string>

#include "platform/file.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

class PlatformFiles : public ::testing::Test {
 protected:
  int32_t create(const std::string& name, uint32_t extra) {
    return platform::openFile(text(dir_.module(name)),
                              platform::kWriteOnly | platform::kCreate | platform::kTruncate | extra,
                              platform::kPermitRead | platform::kPermitWrite);
  }

  ScratchDirectory dir_;
};

TEST_F(PlatformFiles, TextModeWritesLineFeedsAsCarriageReturnLineFeedAcrossBlocksAndCountsTheCallersBytes) {
  std::string lines, expected;
  for (int i = 0; i < 5000; ++i) lines += "0123\n";
  for (int i = 0; i < 5000; ++i) expected += "0123\r\n";
  int32_t fd = create("text.txt", platform::kText);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(platform::writeFile(fd, lines.data(), lines.size()), static_cast<int64_t>(lines.size()));
  EXPECT_EQ(platform::closeFile(fd), 0);
  EXPECT_EQ(dir_.read("text.txt"), expected);
}

TEST_F(PlatformFiles, TextModeTurnsEveryLineFeedWhereverItStandsAndLeavesOtherBytesAlone) {
  const std::string longLine(10000, 'x');  // longer than one block of the conversion
  struct Case {
    std::string written, stored;
  };
  for (const Case& c : {Case{"", ""}, Case{"<a time=\"0\"/>", "<a time=\"0\"/>"}, Case{"\n", "\r\n"},
                        Case{"\n\nab\n", "\r\n\r\nab\r\n"}, Case{"\r\n", "\r\r\n"},
                        Case{longLine + "\n" + longLine, longLine + "\r\n" + longLine},
                        Case{std::string("a\0b\n", 4), std::string("a\0b\r\n", 5)}}) {
    SCOPED_TRACE(c.written.substr(0, 20));
    int32_t fd = create("lines.txt", platform::kText);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(platform::writeFile(fd, c.written.data(), c.written.size()),
              static_cast<int64_t>(c.written.size()));
    EXPECT_EQ(platform::closeFile(fd), 0);
    EXPECT_EQ(dir_.read("lines.txt"), c.stored);
  }
}

// The file's name reaches the disk as UTF-8.
TEST_F(PlatformFiles, BinaryFilesKeepTheirBytesUnderUtf8NamesAndReadsSeeksAndMissingFilesAnswerPlainly) {
  const std::string name = "caf\xc3\xa9";
  int32_t fd = create(name, platform::kBinary);
  EXPECT_EQ(platform::writeFile(fd, "0123\n5678\n", 10), 10);
  platform::closeFile(fd);
  EXPECT_TRUE(std::filesystem::exists(dir_.system() + "/" + name));
  fd = platform::openFile(text(dir_.module(name)), platform::kReadOnly | platform::kBinary, 0);
  ASSERT_GE(fd, 0);
  char bytes[4] = {};
  EXPECT_EQ(platform::seekFile(fd, -3, platform::SeekOrigin::kEnd), 7);
  EXPECT_EQ(platform::readFile(fd, bytes, 4), 3);
  EXPECT_EQ(std::string(bytes, 3), "78\n");
  EXPECT_EQ(platform::readFile(fd, bytes, 4), 0);
  platform::closeFile(fd);
  EXPECT_EQ(platform::unlinkFile(text(dir_.module(name))), 0);
  EXPECT_EQ(platform::openFile(text(dir_.module(name)), platform::kReadOnly, 0), -1);
  EXPECT_EQ(platform::lastFileError(), platform::FileError::kNotFound);
  EXPECT_EQ(platform::systemPath(u"\\tmp\\a/b"), "/tmp/a/b") << "backslashes separate too";
}

}  // namespace
