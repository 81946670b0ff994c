#pragma once

#include "preset_file.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// The setup window: one row per function key with its formula, add/subtract amount and three
// options. It fills its grid from the presets file when it opens; Save builds a PresetTable from
// the grid and writes it, Close (or Esc, or the window's close) leaves the file alone. The opener
// runs it with exec() and reloads the presets afterwards, whichever way it closed.
//
// When the file cannot be read at opening, loadError() says why and the grid stays empty; the
// opener reports it instead of running the window. When Save cannot write, the window says so
// and stays open with the edits.
class frmSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmSetup(QWidget* parent = nullptr, const QString& fileName = presetFileName);

    const std::optional<PresetFileError>& loadError() const { return loadError_; }

    void populate(const PresetTable& table);
    PresetTable read() const;

    // Control arrays, indices 1 to 12 (row Fn).
    QLabel* Label(int n) const;
    QLineEdit* txtF1(int n) const;
    QLineEdit* txtAS(int n) const;
    QCheckBox* chkLow(int n) const;
    QCheckBox* chkHigh(int n) const;
    QCheckBox* chkOne(int n) const;

    QPushButton* cmdSave;
    QPushButton* cmdClose;

private:
    void createGrid(QGridLayout* grid);
    void setTabOrderOfControls();
    void Form_Load();
    void cmdSave_Click();
    void cmdClose_Click();

    template <typename T> using Row = std::array<T*, presetCount>;
    Row<QLabel> labels_{};
    Row<QLineEdit> formulaBoxes_{};
    Row<QLineEdit> amountBoxes_{};
    Row<QCheckBox> dropLowBoxes_{};
    Row<QCheckBox> dropHighBoxes_{};
    Row<QCheckBox> rerollOnesBoxes_{};

    QString fileName_;
    std::optional<PresetFileError> loadError_;
};
