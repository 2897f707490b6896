#pragma once

// Where a document object's own coordinates stand in the world. A CAD model answers every query in its own
// coordinates (host_api/zel_cad.h), while the devices report world points: a command that hands a probe
// point to the model maps it in, and maps what the model answers back out. A value type; any thread.

#include <optional>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"

class IZelDocObject;

class ObjectPlacement {
 public:
  // The identity: an object standing at the world's origin.
  ObjectPlacement() = default;

  // The placement of the object by the host's graphics service (its world transform), the identity without
  // the service; none for a null object or a transform that is not a rotation and a shift, under which the
  // model's distances would not be the world's.
  static std::optional<ObjectPlacement> of(IZelDocObject* object);
  // As of, saying to the user when the reference object's placement cannot be used.
  static std::optional<ObjectPlacement> ofReference(IZelDocObject* reference);
  // None for a matrix that is not a rotation and a shift.
  static std::optional<ObjectPlacement> fromMatrix(const Matrix4x4& ownToWorld);

  Vector3 toOwn(const Vector3& world) const { return Matrix4x4::transformPoint(worldToOwn_, world); }
  Vector3 toWorld(const Vector3& own) const { return Matrix4x4::transformPoint(ownToWorld_, own); }
  Vector3 directionToWorld(const Vector3& own) const { return Matrix4x4::transformVector(ownToWorld_, own); }
  // Exactly: an object that was never moved.
  bool isIdentity() const;
  const Matrix4x4& ownToWorld() const { return ownToWorld_; }
  const Matrix4x4& worldToOwn() const { return worldToOwn_; }

 private:
  Matrix4x4 ownToWorld_;
  Matrix4x4 worldToOwn_;
};
