#include <gtest/gtest.h>

#include "framework/files/zel_path.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

std::u16string normalized(const char16_t* path) {
  ZelString value(path);
  ZelPath::normalize(value);
  return text(value);
}

std::u16string withExtension(const char16_t* path, const char16_t* ext) {
  ZelString value(path);
  ZelPath::setExtension(value, ZelString(ext));
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

TEST_F(Paths, DirectoryTakesEitherSeparatorAndFileNameOnlyBackslash) {
  EXPECT_EQ(text(ZelPath::directory(ZelString(u"file.txt"))), u".");
  EXPECT_EQ(text(ZelPath::directory(ZelString())), u".");
  EXPECT_EQ(text(ZelPath::directory(ZelString(u"\\x"))), u"\\");
  EXPECT_EQ(text(ZelPath::directory(ZelString(u"a/b\\c"))), u"a/b");
  EXPECT_EQ(text(ZelPath::fileName(ZelString(u"a\\b.xml"))), u"b.xml");
  EXPECT_EQ(text(ZelPath::fileName(ZelString(u"a/b"))), u"a/b");
  EXPECT_EQ(text(ZelPath::directoryForm(ZelString(u"c:"))), u"c:\\");
  EXPECT_EQ(text(ZelPath::directoryForm(ZelString(u"c:\\x"))), u"c:\\x");
}

TEST_F(Paths, AppendAddsOneSeparatorAndNormalizes) {
  ZelString path(u"c:\\logs\\");
  ZelPath::append(path, ZelString(u"run/memory.log"));
  EXPECT_EQ(text(path), u"c:\\logs\\run\\memory.log");
  ZelString empty;
  ZelPath::append(empty, ZelString(u"name"));
  EXPECT_EQ(text(empty), u"name");
}

TEST_F(Paths, ExtensionsAreTheLastDotAfterTheLastBackslash) {
  EXPECT_EQ(withExtension(u"old.dir\\file", u"xml"), u"old.dir\\file.xml");
  EXPECT_EQ(withExtension(u"a.b", u""), u"a");
  EXPECT_EQ(withExtension(u"a.b", u".tfm"), u"a.tfm");
  EXPECT_EQ(withExtension(u"log.2024.xml", u"tfm"), u"log.2024.tfm");
  ZelString log(u"log\\run.xml");
  ZelPath::addSuffix(log, ZelString(u"-data-0001"));
  EXPECT_EQ(text(log), u"log\\run-data-0001.xml");
  ZelString bare(u"dir.d\\run");
  ZelPath::addSuffix(bare, ZelString(u"-1"));
  EXPECT_EQ(text(bare), u"dir.d\\run-1");
}

}  // namespace
