#pragma once

// The stand-in host's binary streams: a document's component-data stream kept in memory. The out-stream can
// be given a capacity, as a full disk has one, and records the size of every write so that tests see how the
// module buffers. One thread at a time.

#include <cstdint>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/binary_stream.h"

class HostBinaryOutStream : public IZelBinaryOutStream, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostBinaryOutStream";

  explicit HostBinaryOutStream(int32_t version) : version_(version) {}

  uint64_t write(const void* bytes, uint64_t n) override;
  uint64_t tell() override { return position_; }
  bool seek(int64_t position, BinarySeek mode) override;
  int32_t version() override { return version_; }

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  // The size of each write call, in order.
  const std::vector<uint64_t>& writeSizes() const { return writeSizes_; }
  // Writes stop at this many bytes of data.
  void setCapacity(uint64_t bytes) { capacity_ = bytes; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t version_;
  std::vector<uint8_t> bytes_;
  uint64_t position_ = 0;
  uint64_t capacity_ = UINT64_MAX;
  std::vector<uint64_t> writeSizes_;
};

class HostBinaryInStream : public IZelBinaryInStream, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostBinaryInStream";

  explicit HostBinaryInStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  uint64_t read(void* bytes, uint64_t n) override;
  uint64_t tell() override { return position_; }
  bool seek(int64_t position, BinarySeek mode) override;
  bool good() override { return good_; }
  void close() override { closed_ = true; }
  uint64_t size() override { return bytes_.size(); }
  int32_t width() override { return width_; }
  void setWidth(int32_t bits) override { width_ = bits; }

  bool closed() const { return closed_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<uint8_t> bytes_;
  uint64_t position_ = 0;
  bool good_ = true;
  bool closed_ = false;
  int32_t width_ = 0;
};
