#include "ui/triad/device_csys_gfx.h"

#include <cstring>

#include "framework/host_glue/renderer_scope.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host_api/data_store.h"
#include "host_api/zel_shape_factory.h"
#include "ui/triad/alignment_matrix_source.h"
#include "ui/triad/csys_visibility_source.h"

namespace {

constexpr const char* kShowKey = "Palpera/Gfx/ShowCSYS";
constexpr const char* kNewBoundingBoxKey = "Graphics/NewBoundingBox";

// The triad as the shape factory draws it; the sizes are in the units the scene matrix scales away.
constexpr int32_t kTriadStyle = 0;
constexpr double kAxisLength = 0.41666666666666663;
constexpr double kHeadLength = 0.06666666666666667;
constexpr double kShaftRadius = 0.003333333333333333;
constexpr double kHeadRadius = 0.016666666666666666;

bool isKey(const char* key, const char* expected) {
  return key && std::strcmp(key, expected) == 0;
}

}  // namespace

DeviceCSYSGfx::DeviceCSYSGfx() {
  addRef();
  holdsItself_ = true;
  if (SPtr<IShutdownService> shutdown; shutdown) shutdown->addListener(this);
  subscribe(true);
  gfxDoc_.getService();
  SPtr<IZelShapeFactory> shapes;
  IZelGroupNode* root = gfxDoc_ ? gfxDoc_->sceneRoot() : nullptr;
  if (shapes && root) {
    buildScene(root);
    // After the two transform nodes, so both place the triad.
    shapes->createCoordinateSystem(separator_.get(), kTriadStyle, kAxisLength, kHeadLength, kShaftRadius,
                                   kHeadRadius, false, nullptr);
    SPtr<IDataStore> store;
    if (separator_ && store) separator_->setVisible(store->getInt(kShowKey, 0) != 0);
    updateMatrixNode();
  }
}

DeviceCSYSGfx::~DeviceCSYSGfx() {
  subscribe(false);
}

void DeviceCSYSGfx::subscribe(bool on) {
  SPtr<IDataStore> store;
  if (!store) return;
  for (const char* key : {kShowKey, kNewBoundingBoxKey}) {
    if (on)
      store->addListener(key, this);
    else
      store->removeListener(key, this);
  }
}

void DeviceCSYSGfx::buildScene(IZelGroupNode* root) {
  auto* sensitive = createNode<IZelVisibilitySensitiveNode>(root, "Device CSYS separator node");
  if (!sensitive) return;
  sensitive->setVisibilitySource(IPtr<IZelVisibilitySource>(new VisibilitySource).get());
  separator_ = queryPart<IZelSeparatorNode>(sensitive);
  matrixSourceNode_ = createNode<IZelMatrixSourceNode>(separator_.get(), "node");
  if (matrixSourceNode_)
    matrixSourceNode_->setMatrixSource(IPtr<IZelMatrixSource>(new AlignmentMatrixSource).get());
  matrixNode_ = createNode<IZelMatrixNode>(separator_.get(), "node");
}

void DeviceCSYSGfx::updateMatrixNode() {
  IZelMatrixSource* sceneTransform = gfxDoc_ ? gfxDoc_->sceneTransform() : nullptr;
  if (!sceneTransform || !matrixNode_) return;
  Matrix4x4 scene;
  sceneTransform->getMatrix(scene);
  // Only the scene's scale and turn are undone: the triad stays where the device transform puts it.
  Matrix4x4 undone = Matrix4x4::inverse(scene);
  undone.m[3] = undone.m[7] = undone.m[11] = 0.0;
  matrixNode_->setMatrix(undone);
}

bool DeviceCSYSGfx::onIntChanged(const char* key, int32_t value) {
  if (!isKey(key, kShowKey) || !separator_) return false;
  separator_->setVisible(value != 0);
  requestRedraw(false);
  return true;
}

bool DeviceCSYSGfx::onNotify(const char* key) {
  if (!isKey(key, kNewBoundingBoxKey)) return false;
  updateMatrixNode();
  requestRedraw(false);
  return true;
}

void DeviceCSYSGfx::onShutdown() {
  if (!holdsItself_) return;
  holdsItself_ = false;
  release();
}

void DeviceCSYSGfx::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelDataReceiver>(this)
      .offer<IShutdownListener>(this)
      .end();
}
