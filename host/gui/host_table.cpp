#include "host/gui/host_table.h"

#include <charconv>

#include "framework/object/query_chain.h"

bool HostTable::initialise(int32_t columns, const ZelString& label, const ZelString& title) {
  if (columns < 1) return false;
  columns_ = columns;
  columnTypes_.assign(static_cast<size_t>(columns), std::string());
  label_ = label.c_str();
  title_ = title.c_str();
  rows_.clear();
  return true;
}

int32_t HostTable::addRow() {
  rows_.emplace_back(static_cast<size_t>(columns_));
  return rowCount();
}

bool HostTable::removeRow(int32_t row) {
  if (row < 1 || row > rowCount()) return false;
  rows_.erase(rows_.begin() + (row - 1));
  return true;
}

HostTable::Cell* HostTable::cell(int32_t row, int32_t column) {
  if (row < 1 || row > rowCount() || column < 1 || column > columns_) return nullptr;
  return &rows_[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)];
}

bool HostTable::setText(int32_t row, int32_t column, const ZelString& text) {
  Cell* found = cell(row, column);
  if (!found) return false;
  found->text = text.c_str();
  return true;
}

bool HostTable::setNumber(int32_t row, int32_t column, double value) {
  char digits[32];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  if (error != std::errc()) return false;
  return setText(row, column, ZelString(std::string(digits, end).c_str()));
}

bool HostTable::setCellColor(int32_t row, int32_t column, const ColorRGBA& color) {
  Cell* found = cell(row, column);
  if (!found) return false;
  found->color = color;
  return true;
}

ZelString HostTable::text(int32_t row, int32_t column) {
  Cell* found = cell(row, column);
  ZelString text;
  if (found) text.setBuffer(found->text.c_str(), -1);
  return text;
}

bool HostTable::setColumnType(int32_t column, const char* type) {
  if (column < 1 || column > columns_ || !type || !*type) return false;
  columnTypes_[static_cast<size_t>(column - 1)] = type;
  return true;
}

const char* HostTable::columnType(int32_t column) {
  if (column < 1 || column > static_cast<int32_t>(columnTypes_.size())) return "";
  return columnTypes_[static_cast<size_t>(column - 1)].c_str();
}

std::optional<ColorRGBA> HostTable::cellColor(int32_t row, int32_t column) {
  Cell* found = cell(row, column);
  return found ? found->color : std::nullopt;
}

void HostTable::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelTable*>(this))
      .offer<IZelTable>(this)
      .offer<IZelTableV2>(this)
      .end();
}
