#pragma once

// One planar section: its plane and the points that lie in it, kept by the commands that fit curves to
// sections.

#include <array>
#include <cstdint>

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/points.h"

class IZelDocObject;

// The plane n · p = d as (nx, ny, nz, d); the normal need not be of unit length.
using SectionPlane = std::array<double, 4>;

class SectionData : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "SectionData";

  // On an array someone else keeps: the section reads and fills it but never destroys it. The flag is
  // accepted for the callers that pass one and means nothing here.
  SectionData(const SectionPlane& plane, RealPArray* pointArray, bool unused = false);
  // On an array of its own from the host, destroyed with the section unless it is given up first. The kind
  // is accepted for the callers that pass one and means nothing here.
  SectionData(const SectionPlane& plane, int32_t kind);
  ~SectionData() override;
  SectionData(const SectionData&) = delete;
  SectionData& operator=(const SectionData&) = delete;

  const SectionPlane& plane() const { return plane_; }
  // Null only when the host gave none.
  RealPArray* pointArray() const { return pArray_; }
  bool ownsArray() const { return ownsArray_; }
  // Hands the section's own array, with the reference it was made with, to a caller that keeps it from now
  // on (a point object the points move into); the section still reads it but no longer destroys it. Null
  // when the section owns no array.
  RealPArray* giveUpArray();

  IZelUnknown* result() const { return result_.get(); }
  void setResult(IZelUnknown* result) { result_ = result; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  SectionPlane plane_;
  RealPArray* pArray_ = nullptr;
  IPtr<IZelUnknown> result_;
  bool ownsArray_ = false;
};

// The point array of a point object (its "PointModel" part), without a reference for the caller; null for a
// null object and for one without such a part or array.
RealPArray* getPointArray(IZelDocObject* pointObject);
