#pragma once

// The entities of a STEP exchange file as the file writes them, read without the CAD kernel: what the host
// checks before it trusts the kernel with a file. Reading scans the whole file once and keeps where each
// entity's text lies; an entity's values are parsed only when asked for, so that a large file costs one pass.
//
// The scan refuses a number that is not finite (an overflowing "1.E400", a bare "NAN" where a value belongs):
// the kernel takes such numbers in and can spin on them for good.
//
// Not thread-safe to share while it is being made; its queries are const afterwards.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One value of an entity's record.
struct StepValue {
  enum class Kind { number, text, enumeration, reference, omitted, derived, list, typed, binary };
  Kind kind = Kind::omitted;
  double number = 0;  // number
  // text: the string (its quotes undone); enumeration: the name between the dots; typed: the type's name
  std::string word;
  uint64_t reference = 0;         // reference: the entity's number
  std::vector<StepValue> values;  // list: its items; typed: the one value it wraps
};

// A simple entity has one record; a complex one has a record for each of its types.
struct StepRecord {
  std::string name;
  std::vector<StepValue> values;
};

struct StepEntity {
  uint64_t label = 0;
  std::vector<StepRecord> records;

  // The record of that name (upper case), or the first whose name ends with it when suffix is set.
  const StepRecord* record(std::string_view name, bool suffix = false) const;
};

class StepText {
 public:
  // Reads and scans the file; throws CadFileError(what, reason) for a number that is not finite, naming
  // the entity that holds it, and for an entity number defined twice.
  StepText(const std::string& path, const std::string& what);

  // The entity of that number, parsed; none when the file holds no such entity.
  std::optional<StepEntity> entity(uint64_t label) const;
  // The entities with a record whose name ends in SHAPE_REPRESENTATION, in the file's order.
  const std::vector<uint64_t>& shapeRepresentations() const { return shapeRepresentations_; }
  // The DIRECTION entities, in the file's order.
  const std::vector<uint64_t>& directions() const { return directions_; }
  // How many solids the file defines (MANIFOLD_SOLID_BREP, BREP_WITH_VOIDS, FACETED_BREP).
  size_t solids() const { return solids_; }

 private:
  struct Span {
    size_t begin = 0;
    size_t end = 0;
  };
  void scan(const std::string& what);

  std::string text_;
  std::unordered_map<uint64_t, Span> entities_;  // the text after the '=' up to the ';'
  std::vector<uint64_t> shapeRepresentations_;
  std::vector<uint64_t> directions_;
  size_t solids_ = 0;
};

// An entity as a message names it ("#13").
std::string entityName(uint64_t label);
// A number as a message shows it, in its shortest form ("1e+09", "0.5").
std::string shortest(double value);
