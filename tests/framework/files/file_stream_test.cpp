#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "basic_types/zel_id.h"
#include "framework/chunks/zel_binary_file_reader.h"
#include "framework/chunks/zel_binary_file_writer.h"
#include "framework/files/temporary_file.h"
#include "framework/files/zel_fstream.h"
#include "framework/files/zel_path.h"
#include "framework/files/zel_unicode_stream.h"
#include "host/document/host_binary_streams.h"
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
  EXPECT_TRUE(in.fail());
  EXPECT_EQ(dir_.read("data"), "precious") << "reading with truncate";
  ZelFdStreambuf buffer;
  EXPECT_EQ(buffer.open(dir_.module("none"), std::ios_base::binary), nullptr);
  EXPECT_FALSE(dir_.exists("none"));
  EXPECT_EQ(host_.core().assertions().reports().size(), 1u);
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
  host_.core().enable(CoreFamily::Optional::kTranslatorService, true);
  host_.core().translator().setText("kvo:unicode", u"yes");
  {
    ZelUnicodeStream wide(dir_.module("wide.txt"));
    EXPECT_FALSE(wide.isNarrow());
    wide << ZelString(u"A") << ZelString(u"\u00e9\U0001F600");
    EXPECT_TRUE(wide.good());
    EXPECT_TRUE(wide.commit());
  }
  EXPECT_EQ(dir_.read("wide.txt"), std::string("\xFF\xFE\x41\0\xE9\0\x3D\xD8\x00\xDE", 10));
  host_.core().translator().setText("kvo:unicode", u"no");
  {
    ZelUnicodeStream narrow(dir_.module("narrow.txt"));
    narrow << ZelString(u"A") << " x " << 2.5 << ZelString(u" \u00e9\u4e2d\U0001F600-");
    EXPECT_TRUE(narrow.commit());
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

class TemporaryFiles : public FileStreams {
 protected:
  void SetUp() override {
    FileStreams::SetUp();
    host_.core().dirService().setDirectory("temp", dir_.system());
  }
  // The name a fixed counter value gives, as the system writes it.
  std::string nameFor(uint64_t counter) {
    char name[40];
    std::snprintf(name, sizeof name, "zel-%08x-%08x-temp", platform::currentProcessId(),
                  static_cast<uint32_t>(counter));
    return name;
  }
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

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kOuterType = 1010;
constexpr uint32_t kInnerType = 0x10003;

// A 32-bit header, big-endian: the type shifted past an empty flag byte, then the length.
Bytes narrowHeader(uint32_t type, uint32_t length) {
  Bytes header;
  for (uint32_t word : {type << 8, length})
    for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<uint8_t>(word >> shift));
  return header;
}

Bytes joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class ChunkWriter : public ModuleTest {
 protected:
  // The bytes of an outer chunk holding one empty inner chunk, written at the given stream version.
  Bytes nested(int32_t version) {
    IPtr<HostBinaryOutStream> stream(new HostBinaryOutStream(version));
    ZelBinaryFileWriter writer(stream.get());
    writer.beginChunk(kOuterType);
    writer.beginChunk(kInnerType);
    writer.endChunk();
    writer.endChunk();
    EXPECT_TRUE(writer.close());
    return stream->bytes();
  }

  // A writer at stream version 1.
  IPtr<HostBinaryOutStream> stream_{new HostBinaryOutStream(1)};
  ZelBinaryFileWriter writer_{stream_.get()};
};

TEST_F(ChunkWriter, NestedChunksHave32BitLengthsAtVersions1To9And64BitOnesOutside) {
  Bytes narrow = joined({narrowHeader(kOuterType, 16), narrowHeader(kInnerType, 8)});
  Bytes wide = {0x00, 0x03, 0xF2, 0x00, 0, 0, 0, 0, 0, 0, 0, 24,
                0x01, 0x00, 0x03, 0x00, 0, 0, 0, 0, 0, 0, 0, 12};
  EXPECT_EQ(nested(5), narrow);
  EXPECT_EQ(nested(0), wide);
  EXPECT_EQ(nested(10), wide);
}

TEST_F(ChunkWriter, AChunkBegunAfterBufferedBytesIsPatchedAtItsOwnHeader) {
  writer_.writeU8(0xAA);
  writer_.writeU16(0xBBCC);
  writer_.beginChunk(kInnerType);
  writer_.writeI32(-2);
  writer_.endChunk();
  ASSERT_TRUE(writer_.close());
  EXPECT_EQ(stream_->bytes(),
            joined({{0xAA, 0xBB, 0xCC}, narrowHeader(kInnerType, 12), {0xFF, 0xFF, 0xFF, 0xFE}}));
}

TEST_F(ChunkWriter, TypedValuesFlushWhenFewerThan256BytesAreFree) {
  for (uint32_t value = 0; value < 193; ++value) writer_.writeU32(value);
  EXPECT_TRUE(stream_->writeSizes().empty());
  for (uint32_t value = 193; value < 256; ++value) writer_.writeU32(value);
  EXPECT_EQ(stream_->writeSizes(), (std::vector<uint64_t>{772})) << "once, just before the 194th value";
  EXPECT_EQ(writer_.bufferedBytes(), 252u);
  writer_.writeDouble(-1.5);
  writer_.writeU64(0x0102030405060708ull);
  ASSERT_TRUE(writer_.close());
  const Bytes& bytes = stream_->bytes();
  ASSERT_EQ(bytes.size(), 1040u);
  EXPECT_EQ(Bytes(bytes.begin() + 4 * 255, bytes.begin() + 1032),
            (Bytes{0, 0, 0, 255, 0xBF, 0xF8, 0, 0, 0, 0, 0, 0}))
      << "big-endian, the double's sign and exponent first";
}

TEST_F(ChunkWriter, RawRunsWriteTheBufferOutEachTimeItIsFullAndAFullStreamFailsTheWriter) {
  Bytes run(2500, 7);
  writer_.writeU8(1);
  EXPECT_TRUE(writer_.writeBytes(run.data(), run.size()));
  EXPECT_EQ(stream_->writeSizes(), (std::vector<uint64_t>{1024, 1024}));
  EXPECT_EQ(writer_.bufferedBytes(), 453u);
  stream_->setCapacity(3000);
  EXPECT_FALSE(writer_.writeBytes(run.data(), run.size())) << "a partial write is a failure";
  EXPECT_FALSE(writer_.close());
}

IPtr<HostBinaryInStream> stream(Bytes bytes) {
  return IPtr<HostBinaryInStream>(new HostBinaryInStream(std::move(bytes)));
}

using ChunkReader = ModuleTest;

// A refused chunk leaves the stream where the chunk starts and the reader no longer good.
TEST_F(ChunkReader, LengthsBelowTheHeaderOrPastTheDataAreRejected) {
  struct Case {
    const char* name;
    Bytes bytes;
    int opened;  // chunks that open before the refused one, each behind an 8-byte header
  };
  const Case cases[] = {
      {"a short header", {0x00, 0x03, 0xF2, 0x00, 0x00, 0x00}, 0},
      {"below the header", joined({narrowHeader(kOuterType, 7), Bytes(8, 0)}), 0},
      {"zero", joined({narrowHeader(kOuterType, 0), Bytes(8, 0)}), 0},
      {"past the data", joined({narrowHeader(kOuterType, 17), Bytes(8, 0)}), 0},
      {"wrapping round", joined({narrowHeader(kOuterType, 0xFFFFFFFF), Bytes(8, 0)}), 0},
      {"past the parent", joined({narrowHeader(kOuterType, 16), narrowHeader(kInnerType, 12), Bytes(4, 0)}),
       1},
      {"an id chunk too short for its id",
       joined(
           {narrowHeader(kOuterType, 32), narrowHeader(ZelBinaryFileReader::kIdChunkType, 12), Bytes(16, 1)}),
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IPtr<HostBinaryInStream> in = stream(c.bytes);
    ZelBinaryFileReader reader(in.get());
    for (int i = 0; i < c.opened; ++i) ASSERT_TRUE(reader.beginChunk());
    EXPECT_FALSE(reader.beginChunk());
    EXPECT_EQ(in->tell(), 8u * c.opened);
    EXPECT_FALSE(reader.good());
    EXPECT_FALSE(reader.beginChunk()) << "every later chunk fails too";
    EXPECT_EQ(reader.id(), nullZelID);
    for (int i = 0; i <= c.opened; ++i) reader.endChunk();
    EXPECT_EQ(reader.depth(), 0);
  }
  EXPECT_TRUE(host_.core().assertions().reports().empty())
      << "a reader that is not good ends without complaint";
}

TEST_F(ChunkReader, ValuesNeverCrossTheEndOfTheirChunk) {
  IPtr<HostBinaryInStream> in =
      stream(joined({narrowHeader(kOuterType, 10), {0, 7}, narrowHeader(kInnerType, 8)}));
  ZelBinaryFileReader reader(in.get());
  ASSERT_TRUE(reader.beginChunk());
  EXPECT_EQ(reader.bytesLeftInChunk(), 2u);
  ASSERT_TRUE(in->seek(12, BinarySeek::kBegin));
  EXPECT_EQ(reader.bytesLeftInChunk(), 0u) << "past the chunk's end: nothing left, never a wrapped count";
  ASSERT_TRUE(in->seek(8, BinarySeek::kBegin));
  uint32_t wide = 0;
  EXPECT_FALSE(reader.readU32(wide)) << "the next chunk's header is not this chunk's value";
  EXPECT_EQ(reader.bytesLeftInChunk(), 0u);
  EXPECT_FALSE(reader.good());
}

TEST_F(ChunkReader, AReaderOwningItsStreamEndsItsChunkBeforeClosingIt) {
  IPtr<HostBinaryInStream> in = stream(joined({narrowHeader(kOuterType, 16), Bytes(8, 3), Bytes(4, 0)}));
  {
    ZelBinaryFileReader reader(in.get(), true);
    ASSERT_TRUE(reader.beginChunk());
    uint16_t value = 0;
    ASSERT_TRUE(reader.readU16(value));
  }
  EXPECT_TRUE(in->closed());
  EXPECT_EQ(in->tell(), 16u) << "left at the end of the chunk it was in";
}

TEST_F(ChunkWriter, EndingWithoutAChunkOrHavingNoStreamIsAnAssertionForReaderAndWriter) {
  EXPECT_FALSE(writer_.endChunk());
  EXPECT_FALSE(writer_.beginChunk(0x1000000)) << "a type must fit 24 bits";
  ZelBinaryFileWriter orphanWriter(nullptr);
  EXPECT_FALSE(orphanWriter.writeU32(1));
  IPtr<HostBinaryInStream> in = stream({});
  {
    ZelBinaryFileReader reader(in.get(), true);
    reader.endChunk();
  }
  EXPECT_TRUE(in->closed()) << "an owned stream is closed with the reader";
  ZelBinaryFileReader orphanReader(nullptr);
  EXPECT_FALSE(orphanReader.beginChunk());
  std::vector<std::string> reported;
  for (const auto& report : host_.core().assertions().reports()) reported.push_back(report.expression);
  EXPECT_EQ(reported, (std::vector<std::string>{"depth_ > 0", "bo_", "end_.size() > 0 || !good_", "bi_"}));
}

}  // namespace
