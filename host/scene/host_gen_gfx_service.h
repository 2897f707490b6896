#pragma once

// The stand-in host's graphics service (the service "IGenGfxService"). The host's objects stand in the world
// (the scene, space 4) as their document transform places them (from space 5); an object without one stands
// at the origin, unrotated. Safe on any thread. Normalised view coordinates are taken to the scene by the
// matrix set for the view, the identity until one is set or a window changes it; every space transform goes
// through the scene.

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "host/core/host_unknown.h"
#include "host_api/gfx_view.h"
#include "host_api/zel_doc.h"

class HostGenGfxService : public IGenGfxService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGenGfxService";
  using Matrix = std::array<double, 16>;  // row-major, applied to column vectors

  // Objects are found by id in document, which must outlive the service.
  explicit HostGenGfxService(IZelDoc& document) : document_(document) {}

  bool worldTransform(IZelDocObject* object, double matrix[16]) override;
  bool spaceTransform(Matrix4x4& out, int32_t fromSpace, int32_t toSpace, int32_t objectId,
                      int32_t viewIndex) override;
  // The boxes of the object's feature sub-objects and its points, mapped through the object's world
  // transform.
  bool objectBox(IZelDocObject* object, double box[6]) override;
  // Takes the window's centre to the view's centre and scales by the larger of its half-width and
  // half-height, composed onto the view's matrix.
  bool setViewWindow(int32_t viewIndex, const double window[4]) override;
  // Looks straight down the scene's z axis at the centre of the objects' merged box, whatever the view showed
  // before; a box of a single point keeps the scale 1.
  bool fitAll(int32_t viewIndex, bool visibleOnly, int32_t margin) override;
  // Remembers the object's document id (0 for null or an object the document does not hold).
  void setTargetObject(IZelDocObject* object) override;

  // Host side: the matrix from normalised view coordinates to the scene in the view of that index.
  void setViewToScene(int32_t viewIndex, const Matrix4x4& matrix);
  // Every view back to the identity, as before any was set.
  void resetViews();
  // How often fitAll framed the objects.
  int32_t fits() const { return fits_; }
  // The document id of the target object last set, 0 for none.
  int32_t targetObjectId() const { return targetObjectId_; }

  // The object's world transform, as every host service that places objects sees it.
  static Matrix transformOf(IZelDocObject& object);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The matrix from the space to the scene, if the space is known.
  std::optional<Matrix4x4> toScene(int32_t space, int32_t objectId, int32_t viewIndex);
  // The merged world box of the document's objects (the shown ones only if visibleOnly), if any has one.
  std::optional<std::array<double, 6>> sceneBox(bool visibleOnly);

  IZelDoc& document_;
  std::mutex mutex_;
  std::map<int32_t, Matrix4x4> viewToScene_;  // guarded by mutex_
  std::atomic<int32_t> fits_{0};
  std::atomic<int32_t> targetObjectId_{0};
};
