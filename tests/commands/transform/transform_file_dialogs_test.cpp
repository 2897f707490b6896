#include "commands/transform/transform_file_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "commands/transform/izel_transformation_file_reader.h"
#include "framework/files/zel_path.h"
#include "framework/object/query_chain.h"
#include "host/core/zel_id_text.h"
#include "host/files/tfm_transform_util.h"
#include "host_api/module_class_ids.h"
#include "host_api/registry_paths.h"
#include "support/file_size_limit.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

// A reader of a made-up format: it reads any file, filling the matrix with its mark, or fails.
class TestReader : public IZelTransformationFileReader, public HostUnknown {
 public:
  TestReader(const char16_t* description, const char* extensions, double mark,
             std::vector<std::u16string>* paths)
      : description_(description), mark_(mark), paths_(paths) {
    for (const char* each = extensions; *each; each += std::strlen(each) + 1)
      extensions_.appendCounted(ZelString(each));
  }
  const ZelString& description() override { return description_; }
  const ZelString& extensions() override { return extensions_; }
  bool read(const ZelString& path, double* matrix) override {
    paths_->push_back(path.c_str());
    if (mark_ == 0) return false;
    std::fill(matrix, matrix + 16, mark_);
    return true;
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("TestReader", this, this).offer<IZelTransformationFileReader>(this).end();
  }
  const char* className() override { return "TestReader"; }

 private:
  ZelString description_;
  ZelString extensions_;
  double mark_;
  std::vector<std::u16string>* paths_;
};

constexpr ZelID kReaderIds[] = {{0x11111111, 1, 1, {1, 1, 1, 1, 1, 1, 1, 1}},
                                {0x22222222, 2, 2, {2, 2, 2, 2, 2, 2, 2, 2}},
                                {0x33333333, 3, 3, {3, 3, 3, 3, 3, 3, 3, 3}}};
const std::string kXalEntry = std::string(kTransformationFileReadersPath) + "/XALReader";

class TransformFileDialogsTest : public ModuleTest {
 protected:
  void TearDown() override {
    for (const HostRoot::HostClass& added : classes_) host_.root().removeHostClass(added);
    ModuleTest::TearDown();
  }

  // Lists a test reader in the registry, after those listed so far. extensions: items separated by '\0'.
  void addReader(const char16_t* description, const char* extensions, double mark) {
    const ZelID& id = kReaderIds[classes_.size()];
    classes_.push_back({id, {}, [=, this] {
                          return static_cast<IZelUnknown*>(
                              new TestReader(description, extensions, mark, &readPaths_));
                        }});
    host_.root().addHostClass(classes_.back());
    host_.root().registry().add(
        std::string(kTransformationFileReadersPath) + "/" + std::to_string(classes_.size()),
        registryText(id));
  }
  void withoutXal() { host_.root().registry().remove(kXalEntry); }
  void xalLast() {
    withoutXal();
    host_.root().registry().add(kXalEntry, registryText(kXalReaderClassId));
  }

  void answer(const std::string& name, int32_t filterIndex) {
    host_.files().dialogs().queueAnswer(
        ScriptedFileDialogs::Answer{text(scratch_.module(name)), filterIndex});
  }
  void cancel() { host_.files().dialogs().queueAnswer(std::nullopt); }
  std::vector<ScriptedFileDialogs::Shown> shown() { return host_.files().dialogs().shown(); }
  std::vector<std::u16string> errors() {
    std::vector<std::u16string> messages;
    for (const RecordingErrorService::Report& report : host_.core().errors().reports())
      messages.push_back(report.message);
    return messages;
  }
  std::u16string path(const std::string& name) { return text(scratch_.module(name)); }

  ScratchDirectory scratch_;
  TransformFileDialogs dialogs_;
  std::vector<HostRoot::HostClass> classes_;
  std::vector<std::u16string> readPaths_;
  double matrix_[16] = {};
};

const std::string kTfmIdentity = "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n";

TEST_F(TransformFileDialogsTest, WithoutReadersTheFilterIsTheTfmEntryAloneAndEntryZeroLoadsThroughTheHost) {
  withoutXal();
  scratch_.write("a.tfm", "1 0 0 0.25\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");
  // The system's form of the name: the module normalises it.
  host_.files().dialogs().queueAnswer(
      ScriptedFileDialogs::Answer{platform::fromUtf8(scratch_.system("a.tfm")), 0});
  ASSERT_TRUE(dialogs_.loadTransformFile(matrix_));
  EXPECT_EQ(matrix_[3], 0.25);
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].filter, u"Transform Files (*.tfm)");
  EXPECT_EQ(shown()[0].filterIndex, -1);
  EXPECT_EQ(shown()[0].directory, u"");
  EXPECT_EQ(host_.files().transforms().prepareCalls(), 1);
  EXPECT_EQ(host_.files().transforms().lastPrepareMode(), 0);
  EXPECT_EQ(text(dialogs_.lastDirectory()), path("")) << "no trailing separator";
  EXPECT_TRUE(host_.files().dialogs().fileExists(scratch_.module("a.tfm")));
  EXPECT_FALSE(host_.files().dialogs().fileExists(scratch_.module("b.tfm")));

  host_.files().dialogs().queueAnswer(ScriptedFileDialogs::Answer{path("a.tfm"), -3});
  ASSERT_TRUE(dialogs_.loadTransformFile(matrix_)) << "the host's dialog always has an entry chosen";
  EXPECT_EQ(dialogs_.lastFilterIndex(), 0);
}

TEST_F(TransformFileDialogsTest, ReadersAreOfferedInNaturalOrderAndAnEntryReadsThroughItsReader) {
  withoutXal();
  addReader(u"R 10", "r10\0", 10);
  addReader(u"R 9", "r9\0", 9);
  xalLast();
  scratch_.write("t.xal",
                 R"(<R><V n="I">1</V><V n="J">0</V><V n="K">0</V></R><R><V n="I">0</V><V n="J">1</V>)"
                 R"(<V n="K">0</V></R><R><V n="I">0</V><V n="J">0</V><V n="K">1</V></R><O><V n="X">5</V>)"
                 R"(<V n="Y">0</V><V n="Z">0</V></O>)");
  const std::u16string returned = u"/" + path("x.r10").substr(1);  // as the dialog returned it
  host_.files().dialogs().queueAnswer(ScriptedFileDialogs::Answer{returned, 2});
  ASSERT_TRUE(dialogs_.loadTransformFile(matrix_));
  EXPECT_EQ(matrix_[0], 10.0);
  EXPECT_EQ(readPaths_, std::vector<std::u16string>{returned});
  EXPECT_EQ(shown()[0].filter,
            u"Transform Files (*.tfm);;R 9 (*.r9);;R 10 (*.r10);;XAL Transform File (*.xal)");

  answer("t.xal", 3);
  ASSERT_TRUE(dialogs_.loadTransformFile(matrix_));
  EXPECT_EQ(matrix_[3], 0.005);
  EXPECT_EQ(shown()[1].filterIndex, 2) << "the entry chosen last";
  EXPECT_EQ(shown()[1].directory, path("")) << "the folder of the first file";
  EXPECT_EQ(host_.files().transforms().prepareCalls(), 0);
}

TEST_F(TransformFileDialogsTest, AFailedReadOrAnEntryPastTheReadersIsReportedWithTheNameAsReturned) {
  withoutXal();
  addReader(u"Broken", "ab\0xyz\0", 0);
  for (int32_t entry : {1, 9, 0}) {
    SCOPED_TRACE(entry);
    host_.core().errors().clear();
    answer("missing.ab", entry);
    EXPECT_FALSE(dialogs_.loadTransformFile(matrix_));
    EXPECT_EQ(errors(),
              std::vector<std::u16string>{u"Unable to open file '" + path("missing.ab") + u"' for loading."});
  }
  EXPECT_EQ(shown()[0].filter, u"Transform Files (*.tfm);;Broken (*.ab;*.xyz)");
  EXPECT_EQ(readPaths_.size(), 1u) << "entry 9 reads through no reader";
  host_.core().errors().clear();
  cancel();
  EXPECT_FALSE(dialogs_.loadTransformFile(matrix_));
  EXPECT_TRUE(errors().empty());
}

TEST_F(TransformFileDialogsTest, SavingWritesATfmFileThatLoadsBackBitForBit) {
  const double saved[16] = {0.8, -0.6, 0, 0.1234567890123, 0.6, 0.8, 0, -1.0 / 3, 0, 0, 1, 0, 0, 0, 0, 1};
  answer("out.txt", 1);
  dialogs_.saveTransformFile(saved);
  ASSERT_TRUE(scratch_.exists("out.tfm"));
  EXPECT_FALSE(scratch_.exists("out.txt"));
  EXPECT_EQ(shown()[0].filter, u"Transform Files (*.tfm)");
  answer("out.tfm", 0);
  ASSERT_TRUE(dialogs_.loadTransformFile(matrix_));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix_[i], saved[i]) << i;

  std::filesystem::create_directory(scratch_.system("a.b"));
  answer("a.b/out", 1);
  dialogs_.saveTransformFile(saved);
  EXPECT_TRUE(scratch_.exists("a.b/out.tfm"));
  EXPECT_EQ(text(dialogs_.lastDirectory()), path("a.b"));
  EXPECT_EQ(shown().back().directory, path(""));
  EXPECT_TRUE(errors().empty());
}

TEST_F(TransformFileDialogsTest, ARefusedPathAsksAgainCancelWritesNothingAndAFailedWriteIsReported) {
  const double saved[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  host_.files().fileTypes().queueRefusal();
  host_.files().fileTypes().queueRefusal();
  answer("one", 1);
  answer("two", 1);
  answer("three", 1);
  dialogs_.saveTransformFile(saved);
  EXPECT_EQ(shown().size(), 3u);
  EXPECT_EQ(host_.files().fileTypes().asked(),
            (std::vector<std::u16string>{path("one.tfm"), path("two.tfm"), path("three.tfm")}));
  EXPECT_FALSE(scratch_.exists("one.tfm") || scratch_.exists("two.tfm"));
  EXPECT_TRUE(scratch_.exists("three.tfm"));

  cancel();
  dialogs_.saveTransformFile(saved);
  EXPECT_EQ(shown().size(), 4u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.system()), {}), 1) << "only three.tfm";
  EXPECT_TRUE(errors().empty());

  answer("no/such/out", 1);
  dialogs_.saveTransformFile(saved);
  EXPECT_EQ(errors(), std::vector<std::u16string>{u"Unable to open file '" + path("no/such/out.tfm") +
                                                  u"' for saving."});
}

TEST_F(TransformFileDialogsTest, ASaveThatCannotBeWrittenWholeLeavesTheEarlierFileAndIsReported) {
  const std::string earlier = "0.5 0 0 0\n0 0.5 0 0\n0 0 0.5 0\n0 0 0 1\n";
  scratch_.write("kept.tfm", earlier);
  const double saved[16] = {1, 0, 0, 1.0 / 3, 0, 1, 0, 1.0 / 7, 0, 0, 1, 1.0 / 9, 0, 0, 0, 1};
  answer("kept.tfm", 1);
  {
    FileSizeLimit full(16);
    dialogs_.saveTransformFile(saved);
  }
  EXPECT_EQ(scratch_.read("kept.tfm"), earlier);
  EXPECT_EQ(errors(),
            std::vector<std::u16string>{u"Unable to open file '" + path("kept.tfm") + u"' for saving."});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.system()), {}), 1)
      << "nothing beside it";
}

}  // namespace
