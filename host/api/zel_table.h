#pragma once

// The host's table control: a grid of text cells that a command fills and then places in a control of its
// dialog (IGuiDialog::setControlTable). Rows and columns count from 1; commands keep their header in row 1,
// so the entry i of a list kept beside the table is row i + 1. A number cell holds the number's text.
// Main thread only.

#include <cstdint>

#include "basic_types/color.h"
#include "basic_types/zel_string.h"
#include "host/api/zel_unknown.h"

class IZelTable : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelTable";

  // Empties the table and gives it columns columns (at least 1) with a label and a title.
  virtual bool initialise(int32_t columns, const ZelString& label, const ZelString& title) = 0;
  virtual int32_t columnCount() = 0;
  virtual int32_t rowCount() = 0;
  // Appends an empty row; its number.
  virtual int32_t addRow() = 0;
  // False, changing nothing, for a row outside 1 to rowCount(); the rows below move up.
  virtual bool removeRow(int32_t row) = 0;
  // False, changing nothing, for a cell outside the table.
  virtual bool setText(int32_t row, int32_t column, const ZelString& text) = 0;
  // The number in the shortest text that reads back as the same double.
  virtual bool setNumber(int32_t row, int32_t column, double value) = 0;
  virtual bool setCellColor(int32_t row, int32_t column, const ColorRGBA& color) = 0;
  // Empty for a cell outside the table.
  virtual ZelString text(int32_t row, int32_t column) = 0;
};
