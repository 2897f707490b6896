#include "devices/alignment/stored_matrix.h"

#include <bit>
#include <cstring>
#include <string>

#include "framework/host_glue/user_error.h"

namespace {

// The stored bytes are little-endian whatever the machine: swap on a big-endian one.
uint64_t littleEndian(uint64_t bits) {
  if constexpr (std::endian::native == std::endian::big) return __builtin_bswap64(bits);
  return bits;
}

}  // namespace

std::array<uint8_t, kStoredMatrixBytes> encodeStoredMatrix(const Matrix4x4& matrix) {
  std::array<uint8_t, kStoredMatrixBytes> bytes{};
  for (int i = 0; i < 16; ++i) {
    uint64_t bits = littleEndian(std::bit_cast<uint64_t>(matrix.m[i]));
    std::memcpy(bytes.data() + 8 * i, &bits, 8);
  }
  return bytes;
}

void StoredMatrix::reset(IDataStore* store) {
  matrix_ = Matrix4x4::identity();
  if (store && store->getInt(loadSwitchKey_, 0) != 0) loadStored(store);
}

void StoredMatrix::loadStored(IDataStore* store) {
  if (!store) return;
  uint32_t size = 0;
  bool found = false;
  const void* data = store->getBlob(blobKey_, &size, &found);
  if (!found || size != kStoredMatrixBytes) return;
  if (!data) {
    matrix_ = Matrix4x4::identity();
    return;
  }
  Matrix4x4 stored;
  for (int i = 0; i < 16; ++i) {
    uint64_t bits = 0;
    std::memcpy(&bits, static_cast<const uint8_t*>(data) + 8 * i, 8);
    stored.m[i] = std::bit_cast<double>(littleEndian(bits));
  }
  if (std::optional<std::string> why = refusal_(stored)) {
    std::string message =
        std::string("The stored alignment \"") + blobKey_ + "\" was not loaded: " + *why + ".";
    reportUserError(ZelString(message.c_str()));
    return;
  }
  matrix_ = stored;
}

void StoredMatrix::store(IDataStore* store, IZelDataReceiver* originator) {
  if (!store) return;
  std::array<uint8_t, kStoredMatrixBytes> bytes = encodeStoredMatrix(matrix_);
  store->setBlob(originator, blobKey_, bytes.data(), kStoredMatrixBytes);
}
