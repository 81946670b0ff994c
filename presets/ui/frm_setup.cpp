#include "frm_setup.h"

#include "accessible_names.h"
#include "courier_font.h"
#include "single_byte_text_box.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr qreal pointSize = 9.75;
constexpr int formulaBoxWidth = 170;
constexpr int amountBoxWidth = 90;

// Grid columns: the six columns of the table with a ruled line between each two of them.
enum Column {
    KeyColumn = 0,
    FormulaColumn = 2,
    AmountColumn = 4,
    LowColumn = 6,
    HighColumn = 8,
    OneColumn = 10,
    ColumnCount = 11
};

// Row 0 holds the headings; row Fn sits at 2n, with a ruled line above it at 2n - 1.
int gridRow(int n) {
    return 2 * n;
}
constexpr int gridRowCount = 2 * presetCount + 1;

QFrame* ruledLine(QFrame::Shape shape, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    return line;
}

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(courierFont(pointSize, true));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

template <typename T> T* item(const std::array<T*, presetCount>& row, int n) {
    return row.at(static_cast<std::size_t>(n - 1));
}

CheckBoxState stateOf(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

} // namespace

frmSetup::frmSetup(QWidget* parent, const QString& fileName)
    : QDialog(parent), fileName_(fileName) {
    setWindowTitle(tr("Set Up Function Keys"));
    setFont(courierFont(pointSize, false));

    auto* table = new QFrame(this);
    table->setFrameShape(QFrame::Box);
    table->setFrameShadow(QFrame::Plain);
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    createGrid(grid);

    cmdSave = new QPushButton(tr("&Save"), this);
    cmdSave->setToolTip(tr("Save changes and exit."));
    cmdClose = new QPushButton(tr("&Close"), this);
    // Enter in a box does not save by surprise; only the buttons do.
    cmdSave->setAutoDefault(false);
    cmdClose->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSave);
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(table);
    layout->addLayout(buttons);

    setTabOrderOfControls();
    nameGridForAccessibility();
    nameControlsForAccessibility(this);

    connect(cmdSave, &QPushButton::clicked, this, &frmSetup::cmdSave_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSetup::cmdClose_Click);

    Form_Load();
}

void frmSetup::createGrid(QGridLayout* grid) {
    QWidget* table = grid->parentWidget();
    grid->addWidget(heading(tr("Key"), table), 0, KeyColumn);
    grid->addWidget(heading(tr("Formula"), table), 0, FormulaColumn);
    grid->addWidget(heading(tr("Add/\nSubtract"), table), 0, AmountColumn);
    grid->addWidget(heading(tr("Drop\nLow"), table), 0, LowColumn);
    grid->addWidget(heading(tr("Drop\nHigh"), table), 0, HighColumn);
    grid->addWidget(heading(tr("Reroll\n1's"), table), 0, OneColumn);

    for (int column = KeyColumn + 1; column < ColumnCount; column += 2)
        grid->addWidget(ruledLine(QFrame::VLine, table), 0, column, gridRowCount, 1);

    for (int n = 1; n <= presetCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const int row = gridRow(n);
        grid->addWidget(ruledLine(QFrame::HLine, table), row - 1, 0, 1, ColumnCount);

        labels_[i] = new QLabel(QStringLiteral("F%1").arg(n), table);
        labels_[i]->setAlignment(Qt::AlignCenter);
        formulaBoxes_[i] = new QLineEdit(table);
        formulaBoxes_[i]->setFixedWidth(formulaBoxWidth);
        amountBoxes_[i] = new QLineEdit(table);
        amountBoxes_[i]->setFixedWidth(amountBoxWidth);
        // A box holds what the file can: whole lines as read, and single-byte text only.
        for (QLineEdit* box : {formulaBoxes_[i], amountBoxes_[i]}) {
            box->setMaxLength(presetLineLimit);
            acceptLatin1Only(box);
        }
        dropLowBoxes_[i] = new QCheckBox(table);
        dropHighBoxes_[i] = new QCheckBox(table);
        rerollOnesBoxes_[i] = new QCheckBox(table);

        grid->addWidget(labels_[i], row, KeyColumn);
        grid->addWidget(formulaBoxes_[i], row, FormulaColumn);
        grid->addWidget(amountBoxes_[i], row, AmountColumn);
        grid->addWidget(dropLowBoxes_[i], row, LowColumn, Qt::AlignCenter);
        grid->addWidget(dropHighBoxes_[i], row, HighColumn, Qt::AlignCenter);
        grid->addWidget(rerollOnesBoxes_[i], row, OneColumn, Qt::AlignCenter);
    }
}

// The text boxes row by row, then Save; Close and the check boxes follow.
void frmSetup::setTabOrderOfControls() {
    QWidget* previous = nullptr;
    auto next = [&](QWidget* widget) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    };
    for (int n = 1; n <= presetCount; ++n) {
        next(txtF1(n));
        next(txtAS(n));
    }
    next(cmdSave);
    next(cmdClose);
    for (int n = 1; n <= presetCount; ++n) {
        next(chkLow(n));
        next(chkHigh(n));
        next(chkOne(n));
    }
}

// The grid's boxes have no caption of their own: each is named by its row and column.
void frmSetup::nameGridForAccessibility() {
    for (int n = 1; n <= presetCount; ++n) {
        const QString key = QStringLiteral("F%1").arg(n);
        txtF1(n)->setAccessibleName(tr("%1 formula").arg(key));
        txtAS(n)->setAccessibleName(tr("%1 add/subtract").arg(key));
        chkLow(n)->setAccessibleName(tr("%1 drop low").arg(key));
        chkHigh(n)->setAccessibleName(tr("%1 drop high").arg(key));
        chkOne(n)->setAccessibleName(tr("%1 reroll 1's").arg(key));
    }
}

QLabel* frmSetup::Label(int n) const {
    return item(labels_, n);
}
QLineEdit* frmSetup::txtF1(int n) const {
    return item(formulaBoxes_, n);
}
QLineEdit* frmSetup::txtAS(int n) const {
    return item(amountBoxes_, n);
}
QCheckBox* frmSetup::chkLow(int n) const {
    return item(dropLowBoxes_, n);
}
QCheckBox* frmSetup::chkHigh(int n) const {
    return item(dropHighBoxes_, n);
}
QCheckBox* frmSetup::chkOne(int n) const {
    return item(rerollOnesBoxes_, n);
}

void frmSetup::populate(const PresetTable& table) {
    for (int n = 1; n <= presetCount; ++n) {
        const Preset& preset = table.at(n);
        txtF1(n)->setText(preset.formula);
        chkLow(n)->setChecked(preset.dropLow == 1);
        chkHigh(n)->setChecked(preset.dropHigh == 1);
        chkOne(n)->setChecked(preset.rerollOnes == 1);
        txtAS(n)->setText(preset.addSubtract);
    }
}

PresetTable frmSetup::read() const {
    PresetTable table;
    for (int n = 1; n <= presetCount; ++n) {
        Preset& preset = table.at(n);
        preset.formula = txtF1(n)->text();
        preset.dropLow = stateOf(chkLow(n));
        preset.dropHigh = stateOf(chkHigh(n));
        preset.rerollOnes = stateOf(chkOne(n));
        preset.addSubtract = txtAS(n)->text();
    }
    return table;
}

void frmSetup::Form_Load() {
    // The screen's top-left corner, above every normal window, the main window included.
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().topLeft());
    setWindowFlag(Qt::WindowStaysOnTopHint, true);

    PresetFileRead presets = readPresetFile(fileName_);
    if (const auto* error = std::get_if<PresetFileError>(&presets)) {
        loadError_ = *error;
        return;
    }
    populate(std::get<PresetTable>(presets));
}

void frmSetup::cmdSave_Click() {
    if (const auto error = writePresetFile(read(), fileName_)) {
        // The old file is still whole; the edits stay here so that the user can try again.
        QMessageBox::warning(
            this, windowTitle(),
            tr("The function keys could not be saved.\n\n%1").arg(error->message()));
        return;
    }
    accept();
}

void frmSetup::cmdClose_Click() {
    reject();
}
