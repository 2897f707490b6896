// ZelOfstream beside raw write(2): 100 MB into a file under the system's temporary directory, in records of
// 64 bytes (a text line) and of 64 KiB. The file is removed after each run.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "basic_types/zel_string.h"
#include "framework/files/zel_fstream.h"
#include "platform/utf8.h"

namespace {

constexpr int64_t kTotalBytes = 100 * 1000 * 1000;

std::string scratchName() {
  return (std::filesystem::temp_directory_path() / ("palpera-bench-" + std::to_string(getpid()))).string();
}

ZelString modulePath(const std::string& name) {
  std::u16string wide = platform::fromUtf8(name);
  ZelString path;
  path.setBuffer(wide.c_str(), static_cast<int32_t>(wide.size()));
  return path;
}

void BM_ZelOfstreamWrite(benchmark::State& state) {
  std::string record(static_cast<size_t>(state.range(0)), 'x');
  std::string name = scratchName();
  for (auto _ : state) {
    ZelOfstream out(modulePath(name), std::ios_base::out | std::ios_base::binary);
    for (int64_t written = 0; written < kTotalBytes; written += state.range(0)) {
      out.write(record.data(), state.range(0));
    }
    if (!out.close()) state.SkipWithError("write failed");
  }
  std::filesystem::remove(name);
  state.SetBytesProcessed(state.iterations() * kTotalBytes);
}

void BM_RawWrite(benchmark::State& state) {
  std::string record(static_cast<size_t>(state.range(0)), 'x');
  std::string name = scratchName();
  for (auto _ : state) {
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    for (int64_t written = 0; written < kTotalBytes; written += state.range(0)) {
      if (write(fd, record.data(), record.size()) != state.range(0)) state.SkipWithError("write failed");
    }
    close(fd);
  }
  std::filesystem::remove(name);
  state.SetBytesProcessed(state.iterations() * kTotalBytes);
}

BENCHMARK(BM_ZelOfstreamWrite)->Arg(64)->Arg(65536)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawWrite)->Arg(64)->Arg(65536)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
