#pragma once

// The stand-in host's table ("IZelTable", a fresh one per lookup), with the contract of host_api/zel_table.h.
// Cells keep their text and, when one was set, their colour; columns keep the type they were given
// (IZelTableV2). Main thread only.

#include <optional>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/zel_table.h"

class HostTable : public IZelTable, public IZelTableV2, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostTable";

  bool initialise(int32_t columns, const ZelString& label, const ZelString& title) override;
  int32_t columnCount() override { return columns_; }
  int32_t rowCount() override { return static_cast<int32_t>(rows_.size()); }
  int32_t addRow() override;
  bool removeRow(int32_t row) override;
  bool setText(int32_t row, int32_t column, const ZelString& text) override;
  bool setNumber(int32_t row, int32_t column, double value) override;
  bool setCellColor(int32_t row, int32_t column, const ColorRGBA& color) override;
  ZelString text(int32_t row, int32_t column) override;
  bool setColumnType(int32_t column, const char* type) override;
  const char* columnType(int32_t column) override;

  // Host side.
  std::optional<ColorRGBA> cellColor(int32_t row, int32_t column);
  const std::u16string& title() const { return title_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Cell {
    std::u16string text;
    std::optional<ColorRGBA> color;
  };
  Cell* cell(int32_t row, int32_t column);

  int32_t columns_ = 1;
  std::vector<std::string> columnTypes_;  // by column - 1
  std::u16string label_;
  std::u16string title_;
  std::vector<std::vector<Cell>> rows_;
};
