#include "host/gui/dialog_number_field.h"

#include <cctype>
#include <cstdio>

#include "host/core/data_item_text.h"

namespace {

// Exactly one conversion of a double: '%', flags, width, precision, then one of "fFeEgGaA".
bool formatsOneDouble(const std::string& format) {
  int conversions = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < format.size() && std::string("-+ #0").find(format[j]) != std::string::npos) ++j;
    while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
    if (j < format.size() && format[j] == '.') ++j;
    while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
    if (j >= format.size() || std::string("fFeEgGaA").find(format[j]) == std::string::npos) return false;
    ++conversions;
    i = j;
  }
  return conversions == 1;
}

}  // namespace

bool isNumberField(const DialogControl& control) {
  return control.kind == "number" || control.kind == "length";
}

bool setNumberFormat(DialogControl& field, const std::string& format, double minimum, double maximum) {
  if (!isNumberField(field) || !formatsOneDouble(format) || !(minimum <= maximum)) return false;
  field.format = format;
  field.minimum = minimum;
  field.maximum = maximum;
  return true;
}

bool inRange(const DialogControl& field, double value) {
  return value >= field.minimum && value <= field.maximum;
}

double lengthFactor(IUnitService* units) {
  return units ? units->unitFactor(units->currentLengthUnit()) : 1.0;
}

double shownFactor(const DialogControl& field, IUnitService* units) {
  return field.kind == "length" ? lengthFactor(units) : 1.0;
}

std::string shownNumber(const DialogControl& field, double factor) {
  char text[128];
  const double shown = field.value * factor;
  if (field.format.empty()) {
    return doubleText(shown);
  } else {
    // The format was checked to convert exactly one double when it was set.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(text, sizeof text, field.format.c_str(), shown);
#pragma GCC diagnostic pop
  }
  return text;
}
