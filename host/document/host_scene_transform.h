#pragma once

// The stand-in document's scene matrix: the identity until the host side sets another. Main thread only,
// as the scene is.

#include "basic_types/matrix4x4.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_matrix_nodes.h"

class HostSceneTransform : public IZelMatrixSource, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostSceneTransform";

  void getMatrix(Matrix4x4& out) override { out = matrix_; }

  // Host side.
  void setMatrix(const Matrix4x4& matrix) { matrix_ = matrix; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  Matrix4x4 matrix_;
};
