#include "commands/transform/matrix_widget.h"

#include <algorithm>
#include <array>
#include <string>

#include "framework/host_glue/unit_service.h"
#include "framework/object/iptr.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"

namespace {

const ClassRegistration<MatrixWidget> registration(registeredClass("MatrixWidget"));

constexpr ZelWidget::Control kBox{0, "Box"};
constexpr int32_t kRows = 4;
constexpr int32_t kTranslation[] = {3, 7, 11};
// A printf conversion takes no negative precision, and a double has no more than 17 significant digits.
constexpr int32_t kMaxDecimalPlaces = 17;

int32_t intSetting(const char* key, int32_t fallback) {
  SPtr<IDataStore> store;
  return store ? store->getInt(key, fallback) : fallback;
}

int32_t fontSize() {
  if (intSetting("Palpera/Dialog/LargeIcons", 0) != 0) return intSetting("Palpera/Dialog/LargeFontSize", 20);
  return intSetting("Fonts and Languages/Font Point Application", 0);
}

// The row field's name: the widget's name and ":" before "RowN" when it has one.
ZelString rowName(const ZelCString& widgetName, int32_t row) {
  std::string name = widgetName.length() > 0 ? std::string(widgetName.c_str()) + ":" : std::string();
  name += "Row" + std::to_string(row);
  return ZelString(name.c_str());
}

}  // namespace

bool MatrixWidget::buildGui(IGuiDialog* dialog, const ZelString* title) {
  reserveControls(dialog, kControlCount);
  if (!dialog) return false;
  const int32_t size = fontSize();
  dialog->beginReceiver(this);
  ControlId box = controlId(kBox);
  dialog->beginGroupBox(box.text.c_str(), box.number,
                        title && !title->isEmpty() ? *title : tr("Alignment Matrix"));
  dialog->beginVerticalLayout();
  dialog->beginFontFace("monospace", size, 0, false);
  for (int32_t row = 1; row <= kRows; ++row) dialog->addControl(idBase() + row, "text", rowName(name(), row));
  dialog->endFont();
  dialog->endLayout();
  dialog->endGroup();
  dialog->endReceiver();
  return true;
}

void MatrixWidget::setMatrix(const double* matrix) {
  if (!dialog()) return;
  const int32_t places = std::clamp(intSetting("General/Decimal Places", 0), 0, kMaxDecimalPlaces);
  const std::string precision = "0." + std::to_string(places);
  const double factor = UnitService::unitFactor(UnitService::currentLengthUnit());
  std::array<std::string, 16> texts;
  for (int32_t i = 0; i < 16; ++i) {
    const bool translation =
        std::find(std::begin(kTranslation), std::end(kTranslation), i) != std::end(kTranslation);
    const double value = translation ? matrix[i] * factor : matrix[i];
    texts[i] = ZelString::formatDouble(value, {.precision = precision.c_str()}).toNarrow();
  }
  std::array<size_t, 4> widths{};
  for (int32_t i = 0; i < 16; ++i) widths[i % 4] = std::max(widths[i % 4], texts[i].size() + 1);
  for (int32_t row = 0; row < kRows; ++row) {
    std::string line = "[ ";
    for (int32_t column = 0; column < 4; ++column) {
      const std::string& text = texts[4 * row + column];
      line += std::string(widths[column] - text.size(), ' ') + text;
    }
    line += " ]";
    dialog()->setControlText(idBase() + row + 1, ZelString(line.c_str()));
  }
}

void MatrixWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<ZelWidget*>(this));
  queryWidgetChain(chain);
  querySubjectChain(chain);
}
