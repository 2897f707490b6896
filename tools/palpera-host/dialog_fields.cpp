#include "dialog_fields.h"

#include <cmath>

#include "framework/object/query_part.h"
#include "host/core/data_item_text.h"
#include "host/core/field_escape.h"
#include "host/gui/dialog_number_field.h"
#include "host/gui/host_table.h"
#include "platform/utf8.h"

namespace {

std::string text(const std::u16string& wide) {
  return escapeField(platform::toUtf8(wide));
}

// A cell's text, followed by its colour when it has one: "0.5 (colour 1 0 0 1)".
std::string cellText(IZelTable& table, int32_t row, int32_t column) {
  std::string cell = text(table.text(row, column).c_str());
  auto* host = queryPart<HostTable>(&table);
  const std::optional<ColorRGBA> colour = host ? host->cellColor(row, column) : std::nullopt;
  if (!colour) return cell;
  return cell + " (colour " + doubleText(colour->r) + " " + doubleText(colour->g) + " " +
         doubleText(colour->b) + " " + doubleText(colour->a) + ")";
}

}  // namespace

std::vector<std::string> dialogControlFields(int32_t id, const DialogControl& control, bool current,
                                             double shownFactor) {
  std::vector<std::string> fields = {std::to_string(id),
                                     control.kind,
                                     text(control.name),
                                     doubleText(control.value),
                                     control.enabled ? "enabled" : "disabled",
                                     text(control.text)};
  for (size_t i = 0; i < control.entries.size(); ++i) {
    const DialogListEntry& entry = control.entries[i];
    fields.push_back("entry " + std::to_string(i) + " " + text(entry.text) +
                     (entry.enabled ? "" : " (disabled)"));
  }
  if (!control.format.empty()) fields.push_back("shown " + escapeField(shownNumber(control, shownFactor)));
  if (std::isfinite(control.minimum) || std::isfinite(control.maximum)) {
    fields.push_back("range [" + doubleText(control.minimum) + ", " + doubleText(control.maximum) + "]");
  }
  if (control.group) fields.push_back("group " + std::to_string(*control.group));
  if (control.picture) fields.push_back("picture " + std::to_string(control.picture));
  if (control.fontSize) fields.push_back("font " + std::to_string(control.fontSize));
  if (control.receiver) fields.push_back("own receiver");
  if (IZelTable* table = control.table.get()) {
    for (int32_t row = 1; row <= table->rowCount(); ++row) {
      std::string cells = "row " + std::to_string(row) + ":";
      for (int32_t column = 1; column <= table->columnCount(); ++column) {
        cells += (column > 1 ? " | " : " ") + cellText(*table, row, column);
      }
      fields.push_back(cells);
    }
  }
  if (current) fields.push_back("current");
  return fields;
}
