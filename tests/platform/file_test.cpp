#include <gtest/gtest.h>
#include <filesystem>
#include <string>

#include "platform/file.h"
#include "platform/utf8.h"
#include "support/scratch_directory.h"

namespace {

constexpr uint32_t kReadWrite = platform::kPermitRead | platform::kPermitWrite;

std::u16string modulePath(const ScratchDirectory& dir, const std::string& name) {
  ZelString path = dir.module(name);
  return std::u16string(path.c_str(), path.length());
}

int32_t create(const ScratchDirectory& dir, const std::string& name, uint32_t extra) {
  return platform::openFile(modulePath(dir, name),
                            platform::kWriteOnly | platform::kCreate | platform::kTruncate | extra,
                            kReadWrite);
}

class PlatformFiles : public ::testing::Test {
 protected:
  ScratchDirectory dir_;
};

TEST_F(PlatformFiles, TextModeWritesLineFeedsAsCarriageReturnLineFeedAndCountsTheCallersBytes) {
  int32_t fd = create(dir_, "text.txt", platform::kText);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(platform::writeFile(fd, "a\nb\n", 4), 4);
  EXPECT_EQ(platform::closeFile(fd), 0);
  EXPECT_EQ(dir_.read("text.txt"), "a\r\nb\r\n");
  fd = create(dir_, "binary.bin", platform::kBinary);
  EXPECT_EQ(platform::writeFile(fd, "a\nb\n", 4), 4);
  platform::closeFile(fd);
  EXPECT_EQ(dir_.read("binary.bin"), "a\nb\n");
}

TEST_F(PlatformFiles, LongTextIsConvertedAcrossBlockBoundaries) {
  std::string lines;
  for (int i = 0; i < 5000; ++i) lines += "0123\n";
  int32_t fd = create(dir_, "long.txt", platform::kText);
  EXPECT_EQ(platform::writeFile(fd, lines.data(), lines.size()), static_cast<int64_t>(lines.size()));
  platform::closeFile(fd);
  std::string expected;
  for (int i = 0; i < 5000; ++i) expected += "0123\r\n";
  EXPECT_EQ(dir_.read("long.txt"), expected);
}

TEST_F(PlatformFiles, BackslashPathsAndUtf16NamesReachTheDiskAsUtf8) {
  int32_t fd = create(dir_, "caf\xc3\xa9.txt", platform::kBinary);
  ASSERT_GE(fd, 0);
  platform::closeFile(fd);
  EXPECT_TRUE(std::filesystem::exists(dir_.system() + "/caf\xc3\xa9.txt"));
  EXPECT_EQ(platform::systemPath(u"\\tmp\\a/b"), "/tmp/a/b");
  EXPECT_EQ(platform::unlinkFile(modulePath(dir_, "caf\xc3\xa9.txt")), 0);
  EXPECT_FALSE(dir_.exists("caf\xc3\xa9.txt"));
}

TEST_F(PlatformFiles, ReadSeekAndMissingFiles) {
  dir_.write("data", "0123456789");
  int32_t fd = platform::openFile(modulePath(dir_, "data"), platform::kReadOnly | platform::kBinary, 0);
  ASSERT_GE(fd, 0);
  char bytes[4] = {};
  EXPECT_EQ(platform::seekFile(fd, -3, platform::SeekOrigin::kEnd), 7);
  EXPECT_EQ(platform::readFile(fd, bytes, 4), 3);
  EXPECT_EQ(std::string(bytes, 3), "789");
  EXPECT_EQ(platform::readFile(fd, bytes, 4), 0);
  platform::closeFile(fd);
  EXPECT_EQ(platform::openFile(modulePath(dir_, "none"), platform::kReadOnly, 0), -1);
  EXPECT_EQ(platform::lastFileError(), platform::FileError::kNotFound);
}

}  // namespace
