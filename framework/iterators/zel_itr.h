#pragma once

// The base of the module's iterators over vertex arrays: it holds up to four of the host's arrays (vertices,
// normals, colours, texture coordinates) and answers the per-element accessors from them at the index that
// currentIndex gives; every other operation keeps the light base's default. A concrete iterator writes its
// walk (first, next), its currentIndex and the fill operations of the arrays its hint names. A default that
// only a concrete iterator can give reports a failed assertion. Belongs to the host's main thread.

#include <cstdint>

#include "framework/iterators/zel_itr_base.h"
#include "framework/object/iptr.h"

class ZelItr : public ZelItrBase {
 public:
  static constexpr const char* interfaceName = "ZelItr";

  // With ZelNodeEnum::Array in the hint: fills the vertices, then each array that both the mask and the hint
  // name. An array is taken from the host when first needed; one the host cannot give stays unfilled.
  void prepareArrays(int32_t mask) override;
  void nodeCall5(void* context) override;
  bool first(void* context) override = 0;
  bool next(void* context, bool* restarted) override = 0;
  // Each reports a failed assertion when the hint lacks ZelNodeEnum::Array or the array was never filled,
  // and answers false when there is no current index or no such element.
  bool vertex(Vector3& out) override;
  bool normal(Vector3& out) override;
  bool texCoord(Vector3& out) override;
  bool color(ColorRGBA& out) override;
  // A text node "node" with the label that text gives, at the origin.
  IZelText* createTextNode() override;
  bool text(ZelString& out, double& size, double& offsetX, double& offsetY) override;
  void fillVertices(VertexArrayImp* array) override;
  void fillNormals(VertexArrayImp* array) override;
  void fillColors(VertexArrayImp* array) override;
  void fillTexCoords(VertexArrayImp* array) override;
  void setFlagA(bool on) override { flagA_ = on; }
  bool setFlagB(bool on) override;
  bool flagB() override { return flagB_; }

  // Answers "ZelItr", "IZelUnknown" and "IZelItr"; not the light base's name.
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The current element of one array, read with getter; expression and line name the assertion.
  template <class Value>
  bool currentElement(const IPtr<VertexArrayImp>& array, bool (VertexArrayImp::*getter)(int32_t, Value&),
                      Value& out, const char* expression, int line);
  // Takes the array from the host when it has none yet, then fills it; nothing when the host has none.
  void fillArray(IPtr<VertexArrayImp>& array, void (ZelItr::*fill)(VertexArrayImp*));

  IPtr<VertexArrayImp> vertex_;
  IPtr<VertexArrayImp> normal_;
  IPtr<VertexArrayImp> color_;
  IPtr<VertexArrayImp> texCoord_;
  bool flagA_ = false;
  bool flagB_ = true;
};
