#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <string>

#include "framework/files/temporary_file.h"
#include "framework/files/zel_fstream.h"
#include "framework/files/zel_path.h"
#include "framework/files/zel_unicode_stream.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/process.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

constexpr auto kBinaryIn = std::ios_base::in | std::ios_base::binary;
constexpr auto kBinaryOut = std::ios_base::out | std::ios_base::binary;

std::string digits(int count) {
  std::string result;
  for (int i = 0; i < count; ++i) result += static_cast<char>('0' + i % 10);
  return result;
}

class FileStreams : public ModuleTest {
 protected:
  ScratchDirectory dir_;
};

TEST_F(FileStreams, ReadsAfterAPeekOrPastTheBufferAndSeeksCountTheBufferedBytes) {
  std::string content = digits(5000);
  dir_.write("data", content);
  ZelIfstream in(dir_.module("data"), kBinaryIn);
  ASSERT_TRUE(in.isOpen());
  EXPECT_EQ(in.peek(), '0');
  char bytes[4] = {};
  in.read(bytes, 4);
  EXPECT_EQ(std::string(bytes, 4), "0123");
  EXPECT_EQ(in.tellg(), 4) << "the file itself stands after the whole buffer";
  in.seekg(-3, std::ios_base::cur);
  EXPECT_EQ(in.get(), '1');
  std::string rest(4998, '\0');
  in.read(rest.data(), 4998);
  EXPECT_EQ(in.gcount(), 4998);
  EXPECT_EQ(rest, content.substr(2));
  EXPECT_EQ(in.get(), std::char_traits<char>::eof());
  in.clear();
  in.seekg(2500, std::ios_base::beg);
  EXPECT_EQ(in.get(), '0');
  in.seekg(-1, std::ios_base::end);
  EXPECT_EQ(in.get(), '9');
}

TEST_F(FileStreams, UngetAtTheStartOfTheBufferStepsBackInTheFile) {
  dir_.write("data", "xyz");
  ZelIfstream in(dir_.module("data"), kBinaryIn);
  in.seekg(2);
  in.unget();
  EXPECT_EQ(in.get(), 'y');
  in.seekg(1);
  in.putback('q');
  EXPECT_TRUE(in.fail()) << "putting back a different character fails";
  in.clear();
  EXPECT_EQ(in.get(), 'y') << "and leaves the position";
}

TEST_F(FileStreams, RefusedOpensCreateOrEmptyNothingAndLeaveAnOpenBufferOpen) {
  dir_.write("data", "precious");
  ZelIfstream in(dir_.module("data"), std::ios_base::in | std::ios_base::trunc);
  EXPECT_FALSE(in.isOpen());
  EXPECT_TRUE(in.fail());
  EXPECT_EQ(dir_.read("data"), "precious") << "reading with truncate";
  ZelFdStreambuf buffer;
  EXPECT_EQ(buffer.open(dir_.module("none"), std::ios_base::binary), nullptr);
  EXPECT_FALSE(dir_.exists("none"));
  EXPECT_EQ(host_.assertions().reports().size(), 1u);
  ASSERT_NE(buffer.open(dir_.module("one"), kBinaryOut), nullptr);
  EXPECT_EQ(buffer.open(dir_.module("two"), kBinaryOut), nullptr);
  EXPECT_FALSE(dir_.exists("two"));
  EXPECT_EQ(buffer.sputn("x", 1), 1);
  EXPECT_TRUE(buffer.close());
  EXPECT_EQ(dir_.read("one"), "x");
  EXPECT_FALSE(buffer.close());
}

TEST_F(FileStreams, AnUnbufferedStreamStillReadsAndWrites) {
  dir_.write("data", "hello");
  ZelFdStreambuf buffer;
  buffer.pubsetbuf(nullptr, 0);
  ASSERT_NE(buffer.open(dir_.module("data"), std::ios_base::in | std::ios_base::out | std::ios_base::binary),
            nullptr);
  std::istream in(&buffer);
  std::string word;
  in >> word;
  EXPECT_EQ(word, "hello");
  in.clear();
  buffer.pubseekoff(0, std::ios_base::end);
  EXPECT_EQ(buffer.sputc('!'), '!');
  EXPECT_TRUE(buffer.close());
  EXPECT_EQ(dir_.read("data"), "hello!");
}

TEST_F(FileStreams, ALostWriteIsReportedByClose) {
  ZelOfstream full(ZelString(u"\\dev\\full"), kBinaryOut);
  ASSERT_TRUE(full.isOpen());
  full << "bytes that have nowhere to go";
  EXPECT_FALSE(full.close());
  EXPECT_TRUE(full.fail());
  ZelOfstream missing(ZelString(u"\\no such directory\\file"), kBinaryOut);
  EXPECT_TRUE(missing.bad());
}

TEST_F(FileStreams, UnicodeTextHasTheByteOrderMarkInWideModeOnly) {
  host_.enable(StandinHost::Optional::kTranslatorService, true);
  host_.translator().setText("kvo:unicode", u"yes");
  {
    ZelUnicodeStream wide(dir_.module("wide.txt"));
    EXPECT_FALSE(wide.isNarrow());
    wide << ZelString(u"A") << ZelString(u"\u00e9\U0001F600");
    EXPECT_TRUE(wide.good());
  }
  EXPECT_EQ(dir_.read("wide.txt"), std::string("\xFF\xFE"
                                               "A\0"
                                               "\xE9\0"
                                               "\x3D\xD8\x00\xDE",
                                               10));
  host_.translator().setText("kvo:unicode", u"no");
  {
    ZelUnicodeStream narrow(dir_.module("narrow.txt"));
    narrow << ZelString(u"A") << " x " << 2.5 << ZelString(u" \u00e9\u4e2d\U0001F600-");
  }
  EXPECT_EQ(dir_.read("narrow.txt"),
            "A x 2.500000 \xE9?"
            "?-")
      << "never a stand-in character";
}

std::u16string normalized(const char16_t* path) {
  ZelString value(path);
  ZelPath::normalize(value);
  return text(value);
}

using Paths = NoHostTest;

TEST_F(Paths, NormalizeTurnsDriveSlashesAndDropsTrailingSeparators) {
  EXPECT_EQ(normalized(u"//c/data/"), u"c:\\data");
  EXPECT_EQ(normalized(u"\\"), u"\\");
  EXPECT_EQ(normalized(u"a//"), u"a");
  EXPECT_EQ(normalized(u"/tmp/x"), u"\\tmp\\x");
  EXPECT_EQ(normalized(u"//1/x"), u"\\\\1\\x") << "only a letter names a drive";
  EXPECT_EQ(normalized(u""), u"");
}

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
