#include "frm_save.h"

#include "accessible_names.h"
#include "courier_font.h"
#include "same_file.h"
#include "select_all_on_focus.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {
// Placement below the main window's top-left corner, in twips (15 to a pixel).
constexpr int offsetLeftTwips = 200;
constexpr int offsetTopTwips = 3080;
constexpr int twipsPerPixel = 15;
} // namespace

frmSave::frmSave(const QString& logPath, QWidget* mainWindow, const QStringList& programFiles)
    : QDialog(mainWindow), programFiles_(programFiles) {
    // The caption is empty; an empty title would make the window system show the program's
    // name instead, a single blank shows nothing.
    setWindowTitle(QStringLiteral(" "));
    setFixedSize(480, 150);
    setFont(courierFont(9.75));

    Label1 = new QLabel(
        tr("To save to a file, enter the path and filename as shown in the example below."), this);
    Label1->setWordWrap(true);
    Label1->setGeometry(12, 8, 456, 40);

    txtSaveFile = new QLineEdit(this);
    txtSaveFile->setFont(courierFont(18));
    txtSaveFile->setGeometry(12, 52, 456, 40);
    Label1->setBuddy(txtSaveFile);
    selectAllOnFocus(txtSaveFile); // txtSaveFile_GotFocus

    cmdOkay = new QPushButton(tr("&Okay"), this);
    cmdOkay->setToolTip(tr("Save and exit."));
    cmdOkay->setGeometry(12, 104, 120, 32);
    cmdOkay->setDefault(true);

    cmdClose = new QPushButton(tr("&Close"), this);
    cmdClose->setGeometry(348, 104, 120, 32);

    setTabOrder(txtSaveFile, cmdClose);
    setTabOrder(cmdClose, cmdOkay);

    connect(cmdOkay, &QPushButton::clicked, this, &frmSave::cmdOkay_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSave::cmdClose_Click);
    nameControlsForAccessibility(this);

    Form_Load(logPath, mainWindow);
}

QString frmSave::chosenPath() const {
    return txtSaveFile->text();
}

void frmSave::Form_Load(const QString& logPath, QWidget* mainWindow) {
    if (mainWindow) {
        const QPoint corner = mainWindow->frameGeometry().topLeft();
        move(corner + QPoint(offsetLeftTwips / twipsPerPixel, offsetTopTwips / twipsPerPixel));
    }
    txtSaveFile->setText(logPath);
}

void frmSave::cmdOkay_Click() {
    const QString path = chosenPath();
    for (const QString& own : programFiles_) {
        if (!isSameFile(path, own))
            continue;
        QMessageBox::warning(this, tr("Save Results"),
                             tr("\"%1\" is the program's own file \"%2\": a log there would "
                                "destroy it. Choose another file for the log.")
                                 .arg(path, own));
        txtSaveFile->setFocus();
        return;
    }
    accept();
}

void frmSave::cmdClose_Click() {
    reject();
}
