// The new version of a file, written beside it and put in its place only once whole.

#include "platform/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/file_size_limit.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

class FileReplacementTest : public testing::Test {
 protected:
  void SetUp() override {
    scratch_.write("target", "old");
    ASSERT_EQ(chmod(scratch_.system("target").c_str(), 0640), 0);
  }
  static bool write(FileReplacement& replacement, const std::string& bytes) {
    return replacement.stream() &&
           std::fwrite(bytes.data(), 1, bytes.size(), replacement.stream()) == bytes.size();
  }

  ScratchDirectory scratch_;
};

TEST_F(FileReplacementTest, ACommitPutsTheWholeNewVersionInPlaceWithTheOldPermissionsAndNothingBeside) {
  FileReplacement replacement(scratch_.system("target"));
  ASSERT_TRUE(write(replacement, "new"));
  EXPECT_EQ(scratch_.read("target"), "old") << "until the commit";
  ASSERT_TRUE(replacement.commit()) << replacement.error();
  EXPECT_EQ(scratch_.read("target"), "new");
  EXPECT_EQ(fs::status(scratch_.system("target")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(scratch_.names(), std::vector<std::string>{"target"});
  EXPECT_EQ(replacement.stream(), nullptr);
  EXPECT_FALSE(replacement.commit()) << "committed once";
}

TEST_F(FileReplacementTest, AVersionNeverCommittedLeavesTheTargetAsItWasAndNothingBeside) {
  {
    FileReplacement replacement(scratch_.system("target"));
    ASSERT_TRUE(write(replacement, "half"));
    EXPECT_EQ(scratch_.names().size(), 2u) << "the new version is written beside the target";
  }
  EXPECT_EQ(scratch_.read("target"), "old");
  EXPECT_EQ(scratch_.names(), std::vector<std::string>{"target"});
}

TEST_F(FileReplacementTest, AVersionTheDiskCannotHoldFailsItsCommitAndLeavesTheTargetAsItWas) {
  FileReplacement replacement(scratch_.system("target"));
  {
    FileSizeLimit full(16);
    write(replacement, std::string(64 << 10, 'x'));
    EXPECT_FALSE(replacement.commit());
  }
  EXPECT_EQ(replacement.error(),
            scratch_.system("target") + ": it reached the process's file size limit of 16 bytes");
  EXPECT_EQ(scratch_.read("target"), "old");
  EXPECT_EQ(scratch_.names(), std::vector<std::string>{"target"});
}

// A user who keeps a file behind a link keeps the link: the file it leads to takes the new version.
TEST_F(FileReplacementTest, ATargetThatIsALinkReplacesTheFileLinkedToAndTheLinkStays) {
  fs::create_directory(scratch_.system("kept"));
  fs::rename(scratch_.system("target"), scratch_.system("kept/file"));
  fs::create_symlink("kept/file", scratch_.system("target"));
  FileReplacement replacement(scratch_.system("target"));
  ASSERT_TRUE(write(replacement, "new"));
  ASSERT_TRUE(replacement.commit()) << replacement.error();
  EXPECT_TRUE(fs::is_symlink(scratch_.system("target")));
  EXPECT_EQ(fs::read_symlink(scratch_.system("target")), fs::path("kept/file"));
  EXPECT_EQ(scratch_.read("kept/file"), "new");
  EXPECT_EQ(scratch_.names(), (std::vector<std::string>{"kept", "target"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch_.system("kept")), {}), 1) << "nothing beside it";
}

TEST_F(FileReplacementTest, ADirectoryIsNeverReplaced) {
  fs::create_directory(scratch_.system("folder"));
  FileReplacement replacement(scratch_.system("folder"));
  EXPECT_EQ(replacement.stream(), nullptr);
  EXPECT_EQ(replacement.error(), scratch_.system("folder") + ": not a regular file");
  EXPECT_FALSE(replacement.commit());
  EXPECT_TRUE(fs::is_directory(scratch_.system("folder")));
}

}  // namespace

// A process that is gone, ended by SIGKILL or a crash, cannot remove its new version; the next writer of the
// same file does. A name of a live process, or of another file, is not this writer's to remove.
TEST_F(FileReplacementTest, ALeftoverOfAProcessThatIsGoneIsRemovedByTheNextWriterOfTheSameFile) {
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_GT(gone, 0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string dead = std::to_string(gone), live = std::to_string(getppid());
  for (const std::string& name :
       {"target.new-" + dead + "-0", "target.new-" + dead + "-17", "target.new-" + live + "-0",
        "target.new-" + dead + "-0x", "other.new-" + dead + "-0"})
    scratch_.write(name, "half");
  FileReplacement replacement(scratch_.system("target"));
  ASSERT_TRUE(write(replacement, "new"));
  ASSERT_TRUE(replacement.commit()) << replacement.error();
  std::vector<std::string> kept{"other.new-" + dead + "-0", "target", "target.new-" + dead + "-0x",
                                "target.new-" + live + "-0"};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(scratch_.names(), kept);
}

// A process that had this process's number before it (in a container the host is process 1 at every start)
// left its new version behind: the next writer removes it, and still keeps the one this process is writing.
TEST_F(FileReplacementTest, ALeftoverWithThisProcesssNumberIsRemovedButNotAVersionBeingWritten) {
  const std::string ownNumber = "target.new-" + std::to_string(getpid()) + "-999999";
  scratch_.write(ownNumber, "half");
  FileReplacement writing(scratch_.system("target"));
  ASSERT_TRUE(write(writing, "first"));
  ASSERT_EQ(scratch_.names().size(), 2u) << "the leftover went when the first writer began";

  FileReplacement second(scratch_.system("target"));
  ASSERT_TRUE(write(second, "second"));
  ASSERT_EQ(scratch_.names().size(), 3u) << "each writer keeps its own new version";
  ASSERT_TRUE(writing.commit()) << writing.error();
  ASSERT_TRUE(second.commit()) << second.error();
  EXPECT_EQ(scratch_.names(), std::vector<std::string>{"target"});
  EXPECT_EQ(scratch_.read("target"), "second");
}
