#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The log-file window: the user confirms or changes the roll log's path. Okay accepts with
// the typed path; Close (or closing the window) rejects, and the caller unchecks
// "Save Results".
class frmSave : public QDialog {
    Q_OBJECT
public:
    frmSave(const QString& logPath, QWidget* mainWindow);

    QString chosenPath() const;

    QLabel* Label1;
    QLineEdit* txtSaveFile;
    QPushButton* cmdOkay;
    QPushButton* cmdClose;

private:
    void Form_Load(const QString& logPath, QWidget* mainWindow);
    void cmdOkay_Click();
    void cmdClose_Click();
};
