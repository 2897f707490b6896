// Host logs are files anyone can edit: every line must decode to a record or be refused as damaged, and a
// record must read back as itself once encoded again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/devices/host_log_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  while (!input.empty()) {
    size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    std::optional<HostLogRecord> record = decodeLogRecord(line);
    if (!record) continue;
    if (record->kind.empty() || record->kind.find('\0') != std::string::npos) __builtin_trap();
    if (record->text.find(u'\0') != std::u16string::npos) __builtin_trap();
    std::string encoded = encodeLogRecord(record->kind, record->text);
    if (encoded.back() != '\n') __builtin_trap();
    encoded.pop_back();
    std::optional<HostLogRecord> again = decodeLogRecord(encoded);
    if (!again || again->kind != record->kind || again->text != record->text) __builtin_trap();
  }
  return 0;
}
