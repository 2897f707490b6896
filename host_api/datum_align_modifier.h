#pragma once

// The host's datum-based aligner: it moves a floating document object so that its datum features land on
// the matching features of a fixed object. Each pair names a feature sub-object of either object; the kinds
// of the paired features choose the scheme (three plane pairs: the 3-2-1 scheme, primary, secondary and
// tertiary in pair order). Each feature is taken where its object stands in the world (the object's world
// transform applied to the feature as stored), so the result moves the floating object in the world onto the
// fixed object where the document shows it. An object placed by anything but a rotation and a shift cannot be
// aligned: run fails. Main thread.

#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelDocObject;
class IZelSubObject;

// One pair of datums; a new object per request.
class IZelAlignmentPair : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelAlignmentPair";

  // The pair keeps a reference on each sub-object (either may be null: the pair then takes no part).
  virtual void set(IZelSubObject* fixed, IZelSubObject* floating) = 0;
  // Without a reference for the caller; null when unset.
  virtual IZelSubObject* fixedSubObject() = 0;
  virtual IZelSubObject* floatingSubObject() = 0;
};

class IZelDatumBasedAlignModifier : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDatumBasedAlignModifier";

  // The modifier keeps a reference on each object and on each pair.
  virtual void setFixedObject(IZelDocObject* object) = 0;
  virtual void setFloatingObject(IZelDocObject* object) = 0;
  // count pairs from pairs[0]; replaces the pairs given before.
  virtual void setPairs(IZelAlignmentPair* const* pairs, int32_t count) = 0;
  // Solves; true when the pairs determine the motion. With applyToFloating non-zero the floating object's
  // transform then becomes the result times its transform. reserved1 and reserved2 are passed as 0.
  virtual bool run(int32_t reserved1, int32_t applyToFloating, int32_t reserved2) = 0;
  // The last successful run's motion (the identity before one): a floating point x lands at result . x.
  virtual Matrix4x4 resultTransform() = 0;
  // How well the last successful run's pairs meet, each pair's deviation being the distance between its
  // fixed and its moved floating datum where the fixed one is: their mean, largest and root-mean-square
  // (metres), a line of text per pair (into text, when given) and the number of pairs. All zero and an empty
  // text before a successful run.
  virtual void report(double& meanDeviation, double& maxDeviation, double& rmsDeviation, ZelString* text,
                      int32_t& pairCount) = 0;
};
