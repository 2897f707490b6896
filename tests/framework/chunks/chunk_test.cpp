#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "basic_types/zel_id.h"
#include "framework/chunks/zel_binary_file_reader.h"
#include "framework/chunks/zel_binary_file_writer.h"
#include "host/host_binary_streams.h"
#include "support/module_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kOuterType = 1010;
constexpr uint32_t kInnerType = 0x10003;

// A 32-bit header: the type shifted past the flag byte, then the length.
Bytes narrowHeader(uint32_t type, uint32_t length, uint8_t flag = 0) {
  uint32_t word = type << 8 | flag;
  return {static_cast<uint8_t>(word >> 24),   static_cast<uint8_t>(word >> 16),
          static_cast<uint8_t>(word >> 8),    static_cast<uint8_t>(word),
          static_cast<uint8_t>(length >> 24), static_cast<uint8_t>(length >> 16),
          static_cast<uint8_t>(length >> 8),  static_cast<uint8_t>(length)};
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
  IPtr<HostBinaryOutStream> stream(new HostBinaryOutStream(1));
  ZelBinaryFileWriter writer(stream.get());
  writer.writeU8(0xAA);
  writer.writeU16(0xBBCC);
  writer.beginChunk(kInnerType);
  writer.writeI32(-2);
  writer.endChunk();
  ASSERT_TRUE(writer.close());
  EXPECT_EQ(stream->bytes(),
            joined({{0xAA, 0xBB, 0xCC}, narrowHeader(kInnerType, 12), {0xFF, 0xFF, 0xFF, 0xFE}}));
}

TEST_F(ChunkWriter, TypedValuesFlushWhenFewerThan256BytesAreFree) {
  IPtr<HostBinaryOutStream> stream(new HostBinaryOutStream(1));
  ZelBinaryFileWriter writer(stream.get());
  for (uint32_t value = 0; value < 193; ++value) writer.writeU32(value);
  EXPECT_TRUE(stream->writeSizes().empty());
  for (uint32_t value = 193; value < 256; ++value) writer.writeU32(value);
  EXPECT_EQ(stream->writeSizes(), (std::vector<uint64_t>{772})) << "once, just before the 194th value";
  EXPECT_EQ(writer.bufferedBytes(), 252u);
  writer.writeDouble(-1.5);
  writer.writeU64(0x0102030405060708ull);
  ASSERT_TRUE(writer.close());
  const Bytes& bytes = stream->bytes();
  ASSERT_EQ(bytes.size(), 1040u);
  EXPECT_EQ(Bytes(bytes.begin() + 4 * 255, bytes.begin() + 1032),
            (Bytes{0, 0, 0, 255, 0xBF, 0xF8, 0, 0, 0, 0, 0, 0}))
      << "big-endian, the double's sign and exponent first";
}

TEST_F(ChunkWriter, RawRunsWriteTheBufferOutEachTimeItIsFullAndAFullStreamFailsTheWriter) {
  IPtr<HostBinaryOutStream> stream(new HostBinaryOutStream(1));
  ZelBinaryFileWriter writer(stream.get());
  Bytes run(2500, 7);
  writer.writeU8(1);
  EXPECT_TRUE(writer.writeBytes(run.data(), run.size()));
  EXPECT_EQ(stream->writeSizes(), (std::vector<uint64_t>{1024, 1024}));
  EXPECT_EQ(writer.bufferedBytes(), 453u);
  stream->setCapacity(3000);
  EXPECT_FALSE(writer.writeBytes(run.data(), run.size())) << "a partial write is a failure";
  EXPECT_FALSE(writer.good());
  EXPECT_FALSE(writer.close());
}

class ChunkReader : public ModuleTest {
 protected:
  IPtr<HostBinaryInStream> stream(Bytes bytes) {
    return IPtr<HostBinaryInStream>(new HostBinaryInStream(std::move(bytes)));
  }
};

// A refused chunk leaves the stream where the chunk starts and the reader no longer good.
TEST_F(ChunkReader, LengthsBelowTheHeaderOrPastTheDataAreRejected) {
  struct Case {
    const char* name;
    Bytes bytes;
    int opened;  // chunks that open before the refused one
    uint64_t start;
  };
  const Case cases[] = {
      {"a short header", {0x00, 0x03, 0xF2, 0x00, 0x00, 0x00}, 0, 0},
      {"below the header", joined({narrowHeader(kOuterType, 7), Bytes(8, 0)}), 0, 0},
      {"zero", joined({narrowHeader(kOuterType, 0), Bytes(8, 0)}), 0, 0},
      {"past the data", joined({narrowHeader(kOuterType, 17), Bytes(8, 0)}), 0, 0},
      {"wrapping round", joined({narrowHeader(kOuterType, 0xFFFFFFFF), Bytes(8, 0)}), 0, 0},
      {"past the parent", joined({narrowHeader(kOuterType, 16), narrowHeader(kInnerType, 12), Bytes(4, 0)}),
       1, 8},
      {"an id chunk too short for its id",
       joined(
           {narrowHeader(kOuterType, 32), narrowHeader(ZelBinaryFileReader::kIdChunkType, 12), Bytes(16, 1)}),
       1, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IPtr<HostBinaryInStream> in = stream(c.bytes);
    ZelBinaryFileReader reader(in.get());
    for (int i = 0; i < c.opened; ++i) ASSERT_TRUE(reader.beginChunk());
    EXPECT_FALSE(reader.beginChunk());
    EXPECT_EQ(in->tell(), c.start);
    EXPECT_FALSE(reader.good());
    EXPECT_FALSE(reader.beginChunk()) << "every later chunk fails too";
    EXPECT_EQ(reader.id(), nullZelID);
    for (int i = 0; i <= c.opened; ++i) reader.endChunk();
    EXPECT_EQ(reader.depth(), 0);
  }
  EXPECT_TRUE(host_.assertions().reports().empty()) << "a reader that is not good ends without complaint";
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

TEST_F(ChunkReader, EndingWithoutAChunkOrHavingNoStreamIsAnAssertionForReaderAndWriter) {
  IPtr<HostBinaryOutStream> out(new HostBinaryOutStream(1));
  ZelBinaryFileWriter writer(out.get());
  EXPECT_FALSE(writer.endChunk());
  EXPECT_FALSE(writer.beginChunk(0x1000000)) << "a type must fit 24 bits";
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
  for (const auto& report : host_.assertions().reports()) reported.push_back(report.expression);
  EXPECT_EQ(reported, (std::vector<std::string>{"depth_ > 0", "bo_", "end_.size() > 0 || !good_", "bi_"}));
}

}  // namespace
