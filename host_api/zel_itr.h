#pragma once

// The host's iterator nodes draw what the module makes (probe graphics, section planes, rings and discs,
// probed points) by pulling vertices, normals, colours and texture coordinates from an IZelItr. The node
// calls the operations on its own (main) thread, in the order it draws; the operations whose role belongs to
// the node alone carry numbered names.

#include <cstdint>

#include "basic_types/color.h"
#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelText;

// Bits of an iterator's hint: what it serves.
struct ZelNodeEnum {
  static constexpr int32_t Array = 1;  // the elements come from vertex arrays
  static constexpr int32_t Normals = 4;
  static constexpr int32_t Colors = 8;
  static constexpr int32_t TexCoords = 128;
};

// The host's vertex array: entries of four numbers, read as a point, direction or texture coordinate (the
// first three) or as a colour (red, green, blue, alpha). An iterator fills arrays the host made and reads
// entries back by index, from 0 to count() - 1 (the host's own arrays count from 0; the point arrays of
// points.h, which the module's lists mirror, from 1). One thread at a time.
class VertexArrayImp : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "VertexArrayImp";

  virtual int32_t count() = 0;
  // Makes the array hold count entries (a negative count: none); entries gained are zero.
  virtual void resize(int32_t count) = 0;
  // False, changing nothing, for an index outside the array. set leaves the fourth number as it was.
  virtual bool set(int32_t index, const Vector3& value) = 0;
  virtual bool setColor(int32_t index, const ColorRGBA& value) = 0;
  // False, with out untouched, for an index outside the array.
  virtual bool get(int32_t index, Vector3& out) = 0;
  virtual bool getColor(int32_t index, ColorRGBA& out) = 0;
};

class IZelItr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelItr";

  // A ZelNodeEnum bit set.
  virtual void setHint(int32_t hint) = 0;
  virtual int32_t hint() = 0;
  // Fills the arrays the node asks for (mask: ZelNodeEnum bits) before it draws from them.
  virtual void prepareArrays(int32_t mask) = 0;
  virtual void nodeCall4(int32_t pass, void* context) = 0;
  virtual void nodeCall5(void* context) = 0;
  // The walk over the elements: the first, then each next. False when there is none.
  virtual bool first(void* context) = 0;
  // Clears *restarted, then steps as next does.
  virtual bool advance(void* context, bool* restarted) = 0;
  virtual bool next(void* context, bool* restarted) = 0;
  virtual bool nodeCall9() = 0;
  // The current element's values; false when there is none to give.
  virtual bool vertex(Vector3& out) = 0;
  virtual bool currentIndex(int32_t& out) = 0;
  virtual bool normal(Vector3& out) = 0;
  virtual bool texCoord(Vector3& out) = 0;
  virtual bool color(ColorRGBA& out) = 0;
  // A text node labelling the iterator's shape, made by the host's node factory; the node carries no
  // reference for the caller. Null when there is none.
  virtual IZelText* createTextNode() = 0;
  // The label and its placement (see IZelText::setText); false when there is no label.
  virtual bool text(ZelString& out, double& size, double& offsetX, double& offsetY) = 0;
  virtual int32_t nodeCall17() = 0;
  virtual int32_t nodeCall18() = 0;
  virtual int32_t nodeCall19() = 0;
  virtual bool nodeCall20() = 0;
  // Fill one array each, for prepareArrays. The array is the host's, never null.
  virtual void fillVertices(VertexArrayImp* array) = 0;
  virtual void fillNormals(VertexArrayImp* array) = 0;
  virtual void fillColors(VertexArrayImp* array) = 0;
  virtual void fillTexCoords(VertexArrayImp* array) = 0;
  virtual void nodeCall25() = 0;
  virtual void setFlagA(bool on) = 0;
  virtual bool nodeCall27() = 0;
  // Answers whether the flag was taken.
  virtual bool setFlagB(bool on) = 0;
  virtual bool flagB() = 0;
};

class RealPArray;

// The host's iterator that draws a sphere at every point of a point array (points.h), given to a static
// iterator node. The array is read each time the node draws, so points added or removed later show at the
// next frame.
class IZelPArraySphereItr : public virtual IZelItr {
 public:
  static constexpr const char* interfaceName = "IZelPArraySphereItr";

  // The points (the iterator holds a reference; null draws nothing), the spheres' size in pixels, and the
  // host's drawing mode and sphere detail (the module passes 1 and 4). False, changing nothing, for a size
  // that is not a finite number above 0.
  virtual bool setup(RealPArray* points, double size, int32_t mode, int32_t detail) = 0;
};
