#include "host/document/parameters/host_parameter_table.h"

namespace {

std::u16string_view textOf(const ZelString& name) {
  return {name.c_str(), static_cast<size_t>(name.length())};
}

IZelParameterTable* asTable(IZelParameter* value) {
  void* part = nullptr;
  value->queryInterface(IZelParameterTable::interfaceName, &part, false);
  return static_cast<IZelParameterTable*>(part);
}

}  // namespace

IZelParameter* HostParameterTable::getParameter(const ZelString& name) {
  Entry* entry = find(name);
  return entry ? entry->value.get() : nullptr;
}

bool HostParameterTable::setParameter(const ZelString& name, IZelParameter* value) {
  if (name.isEmpty() || !value || isOrHolds(value)) return false;
  if (Entry* entry = find(name)) {
    entry->value = value;
  } else {
    entries_.push_back({std::u16string(textOf(name)), IPtr<IZelParameter>(value)});
  }
  return true;
}

ZelString HostParameterTable::nameAt(int32_t i) {
  ZelString name;
  if (const Entry* entry = entryAt(i)) name.setBuffer(entry->name.c_str(), -1);
  return name;
}

IZelParameter* HostParameterTable::parameterAt(int32_t i) {
  const Entry* entry = entryAt(i);
  return entry ? entry->value.get() : nullptr;
}

bool HostParameterTable::copyValueInto(HostParameterTable& copy) const {
  copy.entries_.reserve(entries_.size());
  for (const Entry& entry : entries_) {
    IPtr<IZelParameter> value;
    value.takeOwnership(entry.value->copy());
    if (!value) return false;
    copy.entries_.push_back({entry.name, std::move(value)});
  }
  return true;
}

HostParameterTable::Entry* HostParameterTable::find(const ZelString& name) {
  const std::u16string_view text = textOf(name);
  for (Entry& entry : entries_) {
    if (entry.name == text) return &entry;
  }
  return nullptr;
}

const HostParameterTable::Entry* HostParameterTable::entryAt(int32_t i) const {
  if (i < 1 || i > static_cast<int32_t>(entries_.size())) return nullptr;
  return &entries_[static_cast<size_t>(i - 1)];
}

bool HostParameterTable::isOrHolds(IZelParameter* value) {
  IZelParameterTable* table = asTable(value);
  if (!table) return false;
  if (table == this) return true;
  for (int32_t i = 1; i <= table->count(); ++i) {
    IZelParameter* inner = table->parameterAt(i);
    if (inner && isOrHolds(inner)) return true;
  }
  return false;
}
