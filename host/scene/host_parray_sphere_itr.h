#pragma once

// The stand-in host's sphere iterator over a point array (IZelPArraySphereItr): its walk gives the array's
// points in order as the vertices of the spheres; what it was set up with is kept for tests. Every other
// operation of IZelItr answers that there is nothing to give. Main thread only.

#include <cstdint>

#include "framework/object/iptr.h"
#include "host/api/points.h"
#include "host/api/zel_itr.h"
#include "host/core/host_unknown.h"

class HostPArraySphereItr : public IZelPArraySphereItr, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPArraySphereItr";

  bool setup(RealPArray* points, double size, int32_t mode, int32_t detail) override;

  void setHint(int32_t hint) override { hint_ = hint; }
  int32_t hint() override { return hint_; }
  void prepareArrays(int32_t) override {}
  void nodeCall4(int32_t, void*) override {}
  void nodeCall5(void*) override {}
  bool first(void* context) override;
  bool advance(void* context, bool* restarted) override;
  bool next(void* context, bool* restarted) override;
  bool nodeCall9() override { return false; }
  bool vertex(Vector3& out) override;
  bool currentIndex(int32_t& out) override;
  bool normal(Vector3&) override { return false; }
  bool texCoord(Vector3&) override { return false; }
  bool color(ColorRGBA&) override { return false; }
  IZelText* createTextNode() override { return nullptr; }
  bool text(ZelString&, double&, double&, double&) override { return false; }
  int32_t nodeCall17() override { return 0; }
  int32_t nodeCall18() override { return 0; }
  int32_t nodeCall19() override { return 0; }
  bool nodeCall20() override { return false; }
  void fillVertices(VertexArrayImp*) override {}
  void fillNormals(VertexArrayImp*) override {}
  void fillColors(VertexArrayImp*) override {}
  void fillTexCoords(VertexArrayImp*) override {}
  void nodeCall25() override {}
  void setFlagA(bool) override {}
  bool nodeCall27() override { return false; }
  bool setFlagB(bool) override { return false; }
  bool flagB() override { return false; }

  // Host side: what setup was given.
  RealPArray* points() const { return points_.get(); }
  double size() const { return size_; }
  int32_t mode() const { return mode_; }
  int32_t detail() const { return detail_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<RealPArray> points_;
  double size_ = 0;
  int32_t mode_ = 0;
  int32_t detail_ = 0;
  int32_t hint_ = 0;
  int32_t current_ = 0;  // the point the walk is at, from 1; 0 before the walk
};
