#pragma once

// The stand-in host's aligner ("IAligner"), its input on a mesh ("IAligner_Input_Complex", then
// "IAligner_Input") and the closest point on a mesh ("IZelClosestPointOnMesh"): fresh objects per lookup,
// doing the fits of rigid_fit.h on the paged arrays the module hands over (records 1 to n). Main thread
// only.

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/aligner.h"
#include "host_api/zel_closest_point_on_mesh.h"
#include "host_api/zel_mesh.h"

class HostAlignerInput : public IAligner_Input_Complex, public IAligner_Input, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostAlignerInput";

  bool setUp(IZelUnknown* meshData, IZelUnknown* selection, double maxDistance, bool flag) override;
  bool closestPoint(const Vector3& point, Vector3& closest, Vector3& normal, bool flagA, bool flagB) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelMeshExt> mesh_;
  double maxDistance_ = 0;
};

class HostAligner : public IAligner, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostAligner";

  void setInput(IAligner_Input* input) override { input_ = input; }
  bool fitPairs(int32_t count, const ZelChunkedArray& measured, const ZelChunkedArray& nominal,
                Matrix4x4& result) override;
  bool refine(int32_t count, const ZelChunkedArray& points, const ZelChunkedArray& normals, Matrix4x4& matrix,
              bool flagA, bool flagB, int32_t mode, IZelUnknown* selection, double tolerance, bool flagC,
              double offset) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IAligner_Input> input_;
};

class HostClosestPointOnMesh : public IZelClosestPointOnMesh, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostClosestPointOnMesh";

  bool setMesh(IZelUnknown* mesh) override;
  bool closestPoint(const Vector3& point, Vector3& closest, Vector3& normal) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelMeshExt> mesh_;
};
