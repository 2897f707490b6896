#pragma once

// The host's point arrays, point sets and point values.

#include <cstdint>

#include "host_api/zel_feature.h"
#include "host_api/zel_unknown.h"

// A growable array of entries of the same number of doubles each: a point (x, y, z) first, then whatever the
// entry carries beside it (a direction for an entry of 6). Entries are numbered from 1: at(1) is the first,
// at(count()) the last. An array belongs to one thread at a time.
class RealPArray : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "RealPArray";

  // The doubles of one entry, at least 3.
  virtual int32_t entryWidth() = 0;
  virtual int32_t count() = 0;
  // Copies entryWidth() doubles from values as the new last entry; false, with nothing added, for null.
  virtual bool append(const double* values) = 0;
  // The entry's doubles, valid until the array next changes; null outside 1..count().
  virtual const double* at(int32_t index) = 0;
  // Overwrites the entry with entryWidth() doubles from values; false, changing nothing, for an index outside
  // 1..count() or null values.
  virtual bool set(int32_t index, const double* values) = 0;
  // False, changing nothing, when the array is empty.
  virtual bool removeLast() = 0;
  virtual void clear() = 0;
};

// Makes point arrays. The first argument is the doubles of one entry, where anything below 3 means 3, since
// an entry always holds a point: callers that ask for 0 or 1 get points, 6 gives a point and a direction
// each. The second is the number of entries to make room for at once; the array grows past it, and a
// negative capacity reserves nothing.
class IRealPArrayFactory : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IRealPArrayFactory";
  // An empty array; the caller holds a reference on it.
  virtual RealPArray* createArray(int32_t entryWidth, int32_t capacity) = 0;
};

// The points of a point object.
class IZelPoints : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPoints";

  virtual void setArray(RealPArray* points) = 0;
  virtual RealPArray* array() = 0;

  // The operations of a point object's points, numbered from 1 as the array's entries are. Without an array
  // a set holds no points and takes none.
  virtual int32_t pointCount() = 0;
  // False, with xyz untouched, outside 1..pointCount().
  virtual bool pointAt(int32_t index, double xyz[3]) = 0;
  // Appends a point (the rest of its entry zero). flags are the host's (0: a plain point); with notify the
  // set's views hear of it at the next update.
  virtual bool appendPoint(const double xyz[3], int32_t flags, bool notify) = 0;
  // Tells the set's views that its points changed.
  virtual void update() = 0;
  // Grows the box {min, max} to hold every point (exact: the points themselves, not a cached box).
  virtual void extendBox(double min[3], double max[3], bool exact) = 0;
  // 0 while the set is closed for change (the host's samplers then leave it alone); open and close nest.
  virtual int32_t state() = 0;
  virtual void open() = 0;
  virtual void close() = 0;
  // Appends the points of sets[1] to sets[count], in that order (sets[0] is not read; null entries are
  // skipped). flags are the host's (0: every point); copy takes copies rather than moving the points;
  // progress may be null. False, adding nothing, without an array.
  virtual bool merge(IZelPoints* const* sets, int32_t count, int32_t flags, bool copy,
                     IZelUnknown* progress) = 0;
};

// A point. One object serves as both: the point value a caller fills and reads, and the point feature that
// feature creators make and a document object shows as a sub-object, so it also answers "IZelFeature".
class IZelPoint : public virtual IZelFeature {
 public:
  static constexpr const char* interfaceName = "IZelPoint";

  virtual void setPosition(double x, double y, double z) = 0;
  virtual void position(double xyz[3]) = 0;
};
