#pragma once

// A matrix that persists in the host's data store as a 128-byte blob: the 16 doubles, row by row, each as an
// 8-byte little-endian IEEE-754 value. The hardware and object alignments are kept this way.

#include <array>
#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "host_api/data_store.h"

inline constexpr uint32_t kStoredMatrixBytes = 128;

std::array<uint8_t, kStoredMatrixBytes> encodeStoredMatrix(const Matrix4x4& matrix);

class StoredMatrix {
 public:
  // blobKey holds the matrix; loadSwitchKey says whether a reset restores it.
  StoredMatrix(const char* blobKey, const char* loadSwitchKey)
      : blobKey_(blobKey), loadSwitchKey_(loadSwitchKey) {}

  Matrix4x4& matrix() { return matrix_; }
  // The identity, then the stored matrix when the load switch is on.
  void reset(IDataStore* store);
  // Takes the stored blob only when it holds exactly 128 bytes of a usable transform (isUsableTransform);
  // anything else leaves the matrix as it is, and a blob of another matrix is reported to the user.
  void loadStored(IDataStore* store);
  void store(IDataStore* store, IZelDataReceiver* originator);

 private:
  const char* blobKey_;
  const char* loadSwitchKey_;
  Matrix4x4 matrix_;
};
