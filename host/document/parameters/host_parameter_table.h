#pragma once

// The stand-in host's parameter tables ("IZelParameterTable"): a creator's parameters, a probing record, the
// children of a composite feature. Entries keep the order their names were first set; replacing a value
// keeps its place. A table holds a reference on each value, so what the caller gets from it stays the
// table's: changing a value changes the table. A copy copies every value and nested table, so changing the
// copy (removing a sampled point, replacing a child) never reaches the original. Tables are small: lookups
// walk the entries.

#include <string>
#include <string_view>
#include <vector>

#include "host/document/parameters/host_parameter.h"

class HostParameterTable final : public HostParameter<HostParameterTable, IZelParameterTable> {
 public:
  static constexpr const char* interfaceName = "HostParameterTable";

  IZelParameter* getParameter(const ZelString& name) override;
  bool setParameter(const ZelString& name, IZelParameter* value) override;
  int32_t count() override { return static_cast<int32_t>(entries_.size()); }
  ZelString nameAt(int32_t i) override;
  IZelParameter* parameterAt(int32_t i) override;

  // False when any value cannot be copied: a table is copied whole or not at all.
  bool copyValueInto(HostParameterTable& copy) const;

 private:
  struct Entry {
    std::u16string name;
    IPtr<IZelParameter> value;
  };

  Entry* find(const ZelString& name);
  const Entry* entryAt(int32_t i) const;
  // Whether value is this table or a table holding it at any depth: such a table could never be copied to
  // the end nor freed.
  bool isOrHolds(IZelParameter* value);

  std::vector<Entry> entries_;  // in the order the names were first set
};
