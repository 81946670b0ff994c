// The function-key labels and what the function keys roll: the fixed quick formulas (F1-F12,
// a double click on a label) and the user's presets (Shift+F1-F12).
#include "tumo.h"

#include "courier_font.h"
#include "key_map.h"
#include "mouse_label.h"
#include "plain_tool_tip.h"
#include "preset_file.h"
#include "preset_tooltip.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// Two columns of six labels in the free space under the option boxes.
constexpr QPoint labelsOrigin{356, 222};
constexpr QSize labelSize{73, 16};
constexpr int labelsPerColumn = 6;

bool isFunctionKeyIndex(int n) {
    return n >= 1 && n <= presetCount;
}

} // namespace

void Tumo::createFunctionKeyLabels() {
    for (int n = 1; n <= presetCount; ++n) {
        auto* label = new MouseLabel(functionKeyCaption(n), this);
        label->setFont(courierFont(8.25));
        const int column = (n - 1) / labelsPerColumn;
        const int row = (n - 1) % labelsPerColumn;
        label->setGeometry(
            QRect(labelsOrigin + QPoint(column * labelSize.width(), row * labelSize.height()),
                  labelSize));
        connect(label, &MouseLabel::doubleClicked, this, [this, n] { lblFunc_DblClick(n); });
        lblFunc_[static_cast<std::size_t>(n - 1)] = label;
    }
}

MouseLabel* Tumo::lblFunc(int n) const {
    return lblFunc_.at(static_cast<std::size_t>(n - 1));
}

bool Tumo::loadPresets() {
    PresetFileRead read = readPresetFile();
    if (const auto* error = std::get_if<PresetFileError>(&read)) {
        reportFatalPresetError(error->message());
        return false;
    }
    presets = std::get<PresetTable>(std::move(read));
    for (int n = 1; n <= presetCount; ++n)
        setPlainToolTip(lblFunc(n), presetToolTip(presets.at(n)));
    return true;
}

void Tumo::reportFatalPresetError(const QString& message) {
    QMessageBox::critical(isVisible() ? this : nullptr, windowTitle(),
                          tr("The function keys could not be read:\n%1\n\n"
                             "%2 cannot go on without them and will end.")
                              .arg(message, windowTitle()));
}

void Tumo::lblFunc_DblClick(int n) {
    runQuickFormula(n);
}

void Tumo::runQuickFormula(int n) {
    if (!isFunctionKeyIndex(n))
        return;
    txtInput->setText(quickFormula(n));
    cmdRoll_Click();
    txtInput->selectAll();
}

void Tumo::applyPreset(int n) {
    if (!isFunctionKeyIndex(n))
        return;
    const Preset& preset = presets.at(n);
    txtInput->setText(preset.formula);
    chkDropLow->setChecked(preset.dropLow == 1);
    chkDropHigh->setChecked(preset.dropHigh == 1);
    chkReroll->setChecked(preset.rerollOnes == 1);
    txtAdd->setText(preset.addSubtract);
    cmdRoll_Click();
    txtInput->selectAll();
}
