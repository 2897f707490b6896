#include "framework/iterators/zel_itr.h"

#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "host_api/zel_node_factory.h"

namespace {

constexpr const char* kSource = "zelitr";

}  // namespace

void ZelItr::prepareArrays(int32_t mask) {
  if (!(hint() & ZelNodeEnum::Array)) return;
  fillArray(vertex_, &ZelItr::fillVertices);
  int32_t wanted = mask & hint();
  if (wanted & ZelNodeEnum::Normals) fillArray(normal_, &ZelItr::fillNormals);
  if (wanted & ZelNodeEnum::Colors) fillArray(color_, &ZelItr::fillColors);
  if (wanted & ZelNodeEnum::TexCoords) fillArray(texCoord_, &ZelItr::fillTexCoords);
}

void ZelItr::fillArray(IPtr<VertexArrayImp>& array, void (ZelItr::*fill)(VertexArrayImp*)) {
  if (!array) array.getService();
  if (array) (this->*fill)(array.get());
}

void ZelItr::nodeCall5(void*) {
  reportAssertion("0", kSource, 37);
}

template <class Value>
bool ZelItr::currentElement(const IPtr<VertexArrayImp>& array,
                            bool (VertexArrayImp::*getter)(int32_t, Value&), Value& out,
                            const char* expression, int line) {
  if (!(hint() & ZelNodeEnum::Array) || !array) reportAssertion(expression, kSource, line);
  int32_t index = 0;
  if (!currentIndex(index)) return false;
  // Execution goes on after the assertion; an array that was never filled has no element to read.
  return array && (array.get()->*getter)(index, out);
}

bool ZelItr::vertex(Vector3& out) {
  return currentElement(vertex_, &VertexArrayImp::get, out,
                        "(hint_ & ZelNodeEnum::Array) && !vertex_.isEmpty()", 161);
}

bool ZelItr::normal(Vector3& out) {
  return currentElement(normal_, &VertexArrayImp::get, out,
                        "(hint_ & ZelNodeEnum::Array) && !normal_.isEmpty()", 173);
}

bool ZelItr::color(ColorRGBA& out) {
  return currentElement(color_, &VertexArrayImp::getColor, out,
                        "(hint_ & ZelNodeEnum::Array) && !color_.isEmpty()", 185);
}

bool ZelItr::texCoord(Vector3& out) {
  return currentElement(texCoord_, &VertexArrayImp::get, out,
                        "(hint_ & ZelNodeEnum::Array) && !texCoord_.isEmpty()", 197);
}

IZelText* ZelItr::createTextNode() {
  ZelString label;
  double size = 0, offsetX = 0, offsetY = 0;
  if (!text(label, size, offsetX, offsetY)) size = offsetX = offsetY = 0;
  IZelText* node = createNode<IZelText>(nullptr, "node");
  if (node) node->setText(label, Vector3(), size, offsetX, offsetY);
  return node;
}

bool ZelItr::text(ZelString& out, double&, double&, double&) {
  out = ZelString();
  return false;
}

void ZelItr::fillVertices(VertexArrayImp*) {
  reportAssertion("0", kSource, 209);
}

void ZelItr::fillNormals(VertexArrayImp*) {
  reportAssertion("0", kSource, 215);
}

void ZelItr::fillColors(VertexArrayImp*) {
  reportAssertion("0", kSource, 221);
}

void ZelItr::fillTexCoords(VertexArrayImp*) {
  reportAssertion("0", kSource, 227);
}

bool ZelItr::setFlagB(bool on) {
  flagB_ = on;
  return true;
}

void ZelItr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, static_cast<ZelItr*>(this), static_cast<IZelUnknown*>(this))
      .offer<IZelItr>(this)
      .end();
}
