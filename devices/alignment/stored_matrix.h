#pragma once

// A matrix that persists in the host's data store as a 128-byte blob: the 16 doubles, row by row, each as an
// 8-byte little-endian IEEE-754 value. The hardware and object alignments are kept this way.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "basic_types/matrix4x4.h"
#include "host_api/data_store.h"

inline constexpr uint32_t kStoredMatrixBytes = 128;

std::array<uint8_t, kStoredMatrixBytes> encodeStoredMatrix(const Matrix4x4& matrix);

class StoredMatrix {
 public:
  // Why a matrix cannot be this one, as the end of a sentence, or nothing (whyNoUsableTransform,
  // whyNoProperRigid).
  using Refusal = std::optional<std::string> (*)(const Matrix4x4&);

  // blobKey holds the matrix; loadSwitchKey says whether a reset restores it; refusal says which stored
  // matrices it takes.
  StoredMatrix(const char* blobKey, const char* loadSwitchKey, Refusal refusal)
      : blobKey_(blobKey), loadSwitchKey_(loadSwitchKey), refusal_(refusal) {}

  Matrix4x4& matrix() { return matrix_; }
  // The identity, then the stored matrix when the load switch is on.
  void reset(IDataStore* store);
  // Takes the stored blob only when it holds exactly 128 bytes of a matrix the refusal lets through;
  // anything else leaves the matrix as it is, and a blob of another matrix is reported to the user.
  void loadStored(IDataStore* store);
  void store(IDataStore* store, IZelDataReceiver* originator);

 private:
  const char* blobKey_;
  const char* loadSwitchKey_;
  Refusal refusal_;
  Matrix4x4 matrix_;
};
