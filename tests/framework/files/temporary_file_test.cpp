#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "framework/files/temporary_file.h"
#include "framework/files/zel_path.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/process.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

class TemporaryFiles : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    host_.dirService().setDirectory("temp", dir_.system());
  }
  // The name a fixed counter value gives, as the system writes it.
  std::string nameFor(uint64_t counter) {
    char name[40];
    std::snprintf(name, sizeof name, "zel-%08x-%08x-temp", platform::currentProcessId(),
                  static_cast<uint32_t>(counter));
    return name;
  }

  ScratchDirectory dir_;
};

TEST_F(TemporaryFiles, NamesAreProcessAndCounterInTheConfiguredElseTheHostsDirectoryOnceItIsThere) {
  host_.enableDirService(false);
  ZelString name(u"previous");
  EXPECT_FALSE(makeTempFileName(name));
  EXPECT_TRUE(name.isEmpty());
  EXPECT_FALSE(TemporaryFile().create());
  host_.enableDirService(true);
  platform::CounterOverride counter(0x1234abcd5678ef01ull);
  ASSERT_TRUE(makeTempFileName(name));
  EXPECT_EQ(text(name), text(dir_.module(nameFor(0x5678ef01))));
  ScratchDirectory configured;
  host_.dataStore().setString(nullptr, "Directories/Temp Directory", configured.module());
  ASSERT_TRUE(makeTempFileName(name));
  EXPECT_EQ(text(ZelPath::directory(name)), text(configured.module())) << "the data store's setting first";
}

TEST_F(TemporaryFiles, AFileIsPrivateReadableWritableAndLeavesNoNameBehind) {
  TemporaryFile file;
  ASSERT_TRUE(file.create());
  EXPECT_TRUE(std::filesystem::is_empty(dir_.system())) << "the name is gone as soon as the file is open";
  struct stat info {};
  ASSERT_EQ(fstat(file.fd(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(platform::writeFile(file.fd(), "block", 5), 5);
  EXPECT_EQ(platform::seekFile(file.fd(), 0, platform::SeekOrigin::kBegin), 0);
  char back[5] = {};
  EXPECT_EQ(platform::readFile(file.fd(), back, 5), 5);
  EXPECT_EQ(std::string(back, 5), "block");
  EXPECT_FALSE(file.create()) << "one file per object";
}

TEST_F(TemporaryFiles, AnExistingFileOrLinkUnderTheNameIsNeverOpened) {
  platform::CounterOverride counter(77);
  dir_.write(nameFor(77), "someone else's");
  TemporaryFile collided;
  EXPECT_FALSE(collided.create()) << "every fresh name collides while the counter stands still";
  EXPECT_EQ(dir_.read(nameFor(77)), "someone else's");
  std::filesystem::remove(dir_.system(nameFor(77)));
  std::filesystem::create_symlink(dir_.system("target"), dir_.system(nameFor(77)));
  TemporaryFile linked;
  EXPECT_FALSE(linked.create());
  EXPECT_FALSE(dir_.exists("target"));
  counter.set(78);
  TemporaryFile fresh;
  EXPECT_TRUE(fresh.create());
}

}  // namespace
