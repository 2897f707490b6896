// Numbers and matrices as other programs write them, read wherever the system reads them: a .tfm file, a
// host log's device alignment, a host log itself. Each is taken, or refused in words that say what it is.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "devices/alignment/rigid_transform_rule.h"
#include "devices/host_log/log_record_texts.h"
#include "host/devices/host_log_format.h"
#include "platform/utf8.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"

namespace {

using namespace std::string_literals;

enum class Reader { kTfm, kAlignment, kHostLog };

// A 30 degree turn about z and a shift, each element as "%+f" writes it: six decimals and a sign.
const std::string kSixDecimalTurn =
    "+0.866025 -0.500000 +0.000000 +0.025000\n+0.500000 +0.866025 +0.000000 +0.000000\n"
    "+0.000000 +0.000000 +1.000000 +0.000000\n+0.000000 +0.000000 +0.000000 +1.000000\n";
// The same turn as a recording under a temperature scale of 1.0001 writes it.
const std::string kScaledTurn = "0.8661116 -0.5000500 0 0.025 0.5000500 0.8661116 0 0 0 0 1.0001 0 0 0 0 1";
const std::string kIdentityAfterFirst = " 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n";

class WrittenNumbers : public ModuleTest {
 protected:
  // What the reader says of text: empty when it takes it, and then the matrix it read.
  std::string read(Reader reader, const std::string& text, Matrix4x4& matrix) {
    switch (reader) {
      case Reader::kTfm: {
        // As a command loads the hardware transformation from the file.
        scratch_.write("m.tfm", text);
        Matrix4x4 loaded;
        ZelString why;
        if (!host_.files().transforms().load(scratch_.module("m.tfm"), loaded.m)) {
          host_.files().transforms().explainLoad(scratch_.module("m.tfm"), why);
          return platform::toUtf8(why.c_str());
        }
        host_.core().errors().clear();
        const std::optional<Matrix4x4> rigid =
            rigidFromFile(loaded, ZelString(u"m.tfm"), Transformation::kHardware);
        if (!rigid) return platform::toUtf8(host_.core().errors().reports().at(0).message);
        matrix = *rigid;
        return "";
      }
      case Reader::kAlignment:
        return parseAlignmentText(text.c_str(), matrix).value_or("");
      case Reader::kHostLog: {
        scratch_.write("run.log", text);
        HostLogReader log;
        EXPECT_TRUE(log.open(scratch_.system("run.log")));
        HostLogRecord record;
        return log.next(record) == HostLogReader::Status::kDamaged ? log.damage() : "";
      }
    }
    return "no such reader";
  }

  ScratchDirectory scratch_;
};

TEST_F(WrittenNumbers, CNotationAndSixDecimalRotationsAreTakenAndWhatIsRefusedIsToldForWhatItIs) {
  const std::string alignment = "The host log's device alignment was refused: beside a uniform scale, ";
  struct Case {
    Reader reader;
    std::string text, told;  // nothing told: taken
    double scale = 1.0;      // of the matrix taken, beside its rotation
  };
  const Case cases[] = {
      {Reader::kTfm, "+1 0 0 +0.5\n0 +1 0 0\n0 0 1 0\n0 0 0 +1\n", ""},
      {Reader::kTfm, kSixDecimalTurn, ""},
      {Reader::kTfm, "+-1" + kIdentityAfterFirst, "row 1, number 1 is not a number"},
      {Reader::kTfm, "++1" + kIdentityAfterFirst, "row 1, number 1 is not a number"},
      {Reader::kTfm, "1 1e-400" + kIdentityAfterFirst.substr(2),
       "row 1, number 2 is too near 0 for a double (it underflows)"},
      {Reader::kTfm, "1 -1e-400" + kIdentityAfterFirst.substr(2),
       "row 1, number 2 is too near 0 for a double (it underflows)"},
      {Reader::kTfm, "1e400" + kIdentityAfterFirst, "row 1, number 1 is not a finite number"},
      {Reader::kTfm, "\xFF\xFE\0\0"s + "1\0\0\0"s, "the text is UTF-32; save it as UTF-8"},
      {Reader::kTfm, "1\0\0\0 \0\0\0"s, "the text is UTF-32; save it as UTF-8"},
      {Reader::kTfm, "\0\0\0001\0\0\0 "s, "the text is UTF-32; save it as UTF-8"},
      {Reader::kTfm, "\xFE\xFF\0001"s, "the text is UTF-16; save it as UTF-8"},
      {Reader::kTfm, "1\0 \0"s, "the text is UTF-16; save it as UTF-8"},
      // The same rule for the rotation a host log recorded, beside its temperature scale.
      {Reader::kAlignment, kSixDecimalTurn, ""},
      {Reader::kAlignment, kScaledTurn, "", 1.0001},
      {Reader::kAlignment, "1.0001 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1",
       alignment + "its 3 x 3 part scales or shears by more than 1e-5."},
      {Reader::kAlignment, "-1.001 0 0 0 0 1.001 0 0 0 0 1.001 0 0 0 0 1", alignment + "it mirrors."},
      {Reader::kAlignment, "0 1 0 0 1 0 0 0 0 0 1 0 0 0 0 1", alignment + "it mirrors."},
      {Reader::kHostLog, "PluginData\trun-hardprobe-0000.xml\r\n",
       "is damaged: it ends in CR LF, and the log's lines end in LF alone"},
      {Reader::kHostLog, "PluginData\trun-hardprobe-0000.xml\n", ""},
      {Reader::kHostLog, "P\0\0\0\t\0\0\0x\0\0\0\n\0\0\0"s,
       "cannot be read: the text is UTF-32; save it as UTF-8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Matrix4x4 matrix = Matrix4x4::translation(Vector3(7, 7, 7));
    const std::string told = read(c.reader, c.text, matrix);
    EXPECT_EQ(told, c.told);
    if (!told.empty() || c.reader == Reader::kHostLog) continue;
    // A rotation taken is one, beside the scale: its columns of one length, which is the scale's within the
    // six decimals, and at right angles, to the double's precision.
    const auto dot = [&matrix](int i, int j) {
      return matrix.m[i] * matrix.m[j] + matrix.m[4 + i] * matrix.m[4 + j] +
             matrix.m[8 + i] * matrix.m[8 + j];
    };
    EXPECT_NEAR(std::sqrt(dot(0, 0)), c.scale, 1e-6);
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) EXPECT_NEAR(dot(i, j), i == j ? dot(0, 0) : 0.0, 1e-12) << i << ", " << j;
    }
    EXPECT_GT(matrix.determinant3(), 0.0);
  }
}

}  // namespace
