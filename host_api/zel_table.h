#pragma once

// The host's table control: a grid of text cells that a command fills and then places in a control of its
// dialog (IGuiDialog::setControlTable). Rows and columns count from 1; commands keep their header in row 1,
// so the entry i of a list kept beside the table is row i + 1. A number cell holds the number's text.
// A command that lets the user edit cells places the table with a modifier (IZelTableModifier): the host
// asks it whether a cell may be edited before the user types into it, writes what was typed into the cell,
// then tells the modifier (cellChanged), which may write the cell again. Main thread only.

#include <cstdint>

#include "basic_types/color.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

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

// The newer table: the kind of each column's cells ("String" for text).
class IZelTableV2 : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelTableV2";

  // False, changing nothing, for a column outside the table or an empty type.
  virtual bool setColumnType(int32_t column, const char* type) = 0;
  // Empty for a column outside the table or one never given a type.
  virtual const char* columnType(int32_t column) = 0;
};

class IZelTableCellListener : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelTableCellListener";

  // The user changed the cell's text to text.
  virtual void cellChanged(int32_t row, int32_t column, const ZelString& text) = 0;
};

// Told when the table that holds it is made and let go of.
class IZelLifetimeSubject : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelLifetimeSubject";

  virtual void subjectCreated(IZelUnknown* subject) = 0;
  virtual void subjectDestroyed(IZelUnknown* subject) = 0;
};

// What answers for the cells of a table its command placed in a dialog.
class IZelTableModifier : public virtual IZelTableCellListener, public virtual IZelLifetimeSubject {
 public:
  static constexpr const char* interfaceName = "IZelTableModifier";

  // Whether the user may edit the cell.
  virtual bool isCellEditable(int32_t row, int32_t column) = 0;
};
