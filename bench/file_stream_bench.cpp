// ZelOfstream beside std::ofstream and the C library's fwrite: 32 MB into a file under the system's temporary
// directory, in records of 64 bytes (a text line) to 64 KiB. The file is removed after each run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "basic_types/zel_string.h"
#include "framework/files/zel_fstream.h"
#include "peer_ratio.h"
#include "platform/utf8.h"

namespace {

constexpr int64_t kTotalBytes = 32 * 1000 * 1000;

std::string scratchName() {
  return (std::filesystem::temp_directory_path() / ("palpera-bench-" + std::to_string(getpid()))).string();
}

ZelString modulePath(const std::string& name) {
  std::u16string wide = platform::fromUtf8(name);
  ZelString path;
  path.setBuffer(wide.c_str(), static_cast<int32_t>(wide.size()));
  return path;
}

// Writes kTotalBytes in records of the argument's size through a stream that open makes for the name (null
// when it cannot); writeRecord answers false when the stream has failed, finish when it could not close.
template <class Open, class WriteRecord, class Finish>
void measureWrites(benchmark::State& state, Open open, WriteRecord writeRecord, Finish finish) {
  const std::string record(static_cast<size_t>(state.range(0)), 'x');
  const std::string name = scratchName();
  for (auto _ : state) {
    auto out = open(name);
    if (!out) {
      state.SkipWithError("cannot open the scratch file");
      break;
    }
    bool written = true;
    for (int64_t bytes = 0; bytes < kTotalBytes && written; bytes += state.range(0))
      written = writeRecord(*out, record);
    if (!finish(*out) || !written) state.SkipWithError("write failed");
  }
  std::filesystem::remove(name);
  state.SetBytesProcessed(state.iterations() * kTotalBytes);
}

template <class Stream>
bool writeToStream(Stream& out, const std::string& record) {
  return static_cast<bool>(out.write(record.data(), static_cast<std::streamsize>(record.size())));
}

void BM_OfstreamWrite(benchmark::State& state) {
  measureWrites(
      state, [](const std::string& name) { return std::make_unique<std::ofstream>(name, std::ios::binary); },
      writeToStream<std::ofstream>,
      [](std::ofstream& out) {
        out.close();
        return !out.fail();
      });
}

void BM_FwriteWrite(benchmark::State& state) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  measureWrites(
      state,
      [](const std::string& name) {
        return std::unique_ptr<std::FILE, Closer>(std::fopen(name.c_str(), "wb"));
      },
      [](std::FILE& out, const std::string& record) {
        return std::fwrite(record.data(), 1, record.size(), &out) == record.size();
      },
      [](std::FILE& out) { return std::fflush(&out) == 0; });
}

void BM_ZelOfstreamWrite(benchmark::State& state) {
  measureWrites(
      state,
      [](const std::string& name) {
        return std::make_unique<ZelOfstream>(modulePath(name), std::ios_base::out | std::ios_base::binary);
      },
      writeToStream<ZelOfstream>, [](ZelOfstream& out) { return out.close(); });
}

void recordSizes(benchmark::internal::Benchmark* b) {
  b->ArgName("record")->RangeMultiplier(8)->Range(64, 65536)->Unit(benchmark::kMillisecond)->Iterations(3);
}

BENCHMARK(BM_OfstreamWrite)->Apply(recordSizes);
BENCHMARK(BM_FwriteWrite)->Apply(recordSizes);
BENCHMARK(BM_ZelOfstreamWrite)->Apply(recordSizes);

}  // namespace

int main(int argc, char** argv) {
  return runWithPeerRatios(argc, argv,
                           {{"BM_ZelOfstreamWrite", "BM_OfstreamWrite", "vs_ofstream"},
                            {"BM_ZelOfstreamWrite", "BM_FwriteWrite", "vs_fwrite"}});
}
